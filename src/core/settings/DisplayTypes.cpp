#include "core/settings/DisplayTypes.h"

#include <array>

namespace {

struct Row {
    const char* text;
    qint16 rows, columns, cells;
    bool velt, epson, ascii, modeB, firmware;
};

constexpr std::array<Row, 9> kRows{{
    {"LumoA1 (2x20)", 2, 20, 40, true, false, true, false, false},
    {"LumoA2 (2x20)", 2, 20, 40, false, true, true, false, false},
    {"LumoB1     (2x20)", 2, 20, 40, true, false, true, false, false},
    {"LumoB2     (2x20)", 2, 20, 40, true, false, true, false, false},
    {"LumoQ4      (2x20)", 2, 20, 40, true, true, true, false, true},
    {"LumoC1      (2x20)", 2, 20, 40, true, true, true, false, true},
    {"LumoD1      (4x20)", 4, 20, 80, true, true, true, false, true},
    {"LumoD2      (4x20)", 4, 20, 80, true, true, true, false, true},
    {"LumoE1      (4x40)", 4, 40, 160, true, false, true, true, false},
}};

} // namespace

QStringList DisplayType::RowTexts() {
    QStringList texts;
    for (const Row& row : kRows) {
        texts << QLatin1String(row.text);
    }
    return texts;
}

DisplayType DisplayType::FromCode(qint16 i_iCode) {
    DisplayType type;
    if (i_iCode < 0 || i_iCode >= static_cast<qint16>(kRows.size())) {
        return type;
    }
    const Row& row = kRows[static_cast<size_t>(i_iCode)];
    type.code = i_iCode;
    type.rows = row.rows;
    type.columns = row.columns;
    type.cells = row.cells;
    type.tabVelt = row.velt;
    type.tabEpson = row.epson;
    type.tabAscii = row.ascii;
    type.modeListB = row.modeB;
    type.firmwareUpdate = row.firmware;
    type.vt100Test = i_iCode == 6;
    return type;
}

DisplayType DisplayType::FromText(const QString& i_sText) {
    const QStringList texts = RowTexts();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (texts[i] == i_sText) {
            return FromCode(static_cast<qint16>(i));
        }
    }
    return DisplayType{};
}
