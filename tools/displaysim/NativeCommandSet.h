#pragma once

#include <QByteArray>

class CellScreen;
struct DisplayState;

// The display's own framed commands. A frame whose letter and parameters are valid takes
// effect and is answered ACK (0x06); any other frame is answered NAK (0x15) and changes
// nothing. "T" answers SOH, the 40 cells and ETB; "V" answers the version text.
class NativeCommandSet {
public:
    struct Outcome {
        QByteArray answer;
        bool accepted = false;
    };

    NativeCommandSet(CellScreen& io_screen, DisplayState& io_state, QByteArray i_bVersion);

    // i_bFrame is the whole frame, EOT SOH .. ETB. With i_blnRefuseAll every frame is
    // answered NAK and has no effect.
    Outcome Execute(const QByteArray& i_bFrame, bool i_blnRefuseAll) const;

private:
    Outcome apply(char i_cLetter, const QByteArray& i_bParams) const;

    CellScreen& m_screen;
    DisplayState& m_state;
    QByteArray m_bVersion;
};
