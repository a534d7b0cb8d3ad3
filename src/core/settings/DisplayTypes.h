#pragma once

#include <QString>
#include <QStringList>

// The display family the program knows. Code 0..8 is the row of the display-type list; 10 is
// a type text that matches no row.
struct DisplayType {
    qint16 code = 10;
    qint16 rows = 0;
    qint16 columns = 0;
    qint16 cells = 0;
    bool tabVelt = false;  // tab 1 "Main(VELT)"
    bool tabEpson = false; // tab 2 "Adv.(EPSON)"
    bool tabAscii = false; // tab 3 "Send by ASCII"
    bool modeListB = false;
    bool firmwareUpdate = false;
    bool vt100Test = false;

    // The longest message the text boxes take: one character per cell, and no limit (the
    // text box's own 32767) when the type has no cells.
    int MessageLength() const { return cells > 0 ? cells : 32767; }

    // The row texts, compared literally (spaces included).
    static QStringList RowTexts();

    // The type whose row text equals i_sText; code 10 when none does.
    static DisplayType FromText(const QString& i_sText);

    // The type of a code; code 10 (no geometry) for anything outside 0..8.
    static DisplayType FromCode(qint16 i_iCode);
};
