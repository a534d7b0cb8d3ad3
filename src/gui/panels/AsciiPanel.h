#pragma once

#include <QWidget>
#include <array>

class CommandHost;
class QPushButton;

// Tab "Send by ASCII": one button per character code. cmdASCII1(i) sends code i (0..127) as a
// one-character text; cmdASCII2(i) sends code i + 128 as a single byte.
class AsciiPanel : public QWidget {
    Q_OBJECT

public:
    AsciiPanel(CommandHost& i_host, QWidget* i_pParent = nullptr);

    std::array<QPushButton*, 128> cmdASCII1{};
    std::array<QPushButton*, 128> cmdASCII2{};

    // Codes 48..95 and 97..126 show the character itself, in bold.
    static bool ShowsCharacter(int i_iCode);

private:
    void cmdASCII1_Click(int i_iIndex);
    void cmdASCII2_Click(int i_iIndex);

    CommandHost& m_host;
};
