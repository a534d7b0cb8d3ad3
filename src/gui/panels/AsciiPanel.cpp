#include "gui/panels/AsciiPanel.h"

#include "core/common/NumberText.h"
#include "core/device/CLumo.h"
#include "gui/panels/CommandHost.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* codeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setFixedSize(30, 20);
    b->setFocusPolicy(Qt::TabFocus);
    QFont f = b->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    b->setFont(f);
    return b;
}

} // namespace

bool AsciiPanel::ShowsCharacter(int i_iCode) {
    return i_iCode >= 48 && i_iCode <= 126 && i_iCode != 96;
}

AsciiPanel::AsciiPanel(CommandHost& i_host, QWidget* i_pParent)
    : QWidget(i_pParent), m_host(i_host) {
    setObjectName(QStringLiteral("AsciiPanel"));
    auto* low = new QGroupBox(tr("ASCII(0~31)"), this);
    auto* middle = new QGroupBox(tr("ASCII(32~127)"), this);
    auto* high = new QGroupBox(tr("ASCII(128~255)"), this);
    auto* lowGrid = new QGridLayout(low);
    auto* middleGrid = new QGridLayout(middle);
    auto* highGrid = new QGridLayout(high);
    for (QGridLayout* grid : {lowGrid, middleGrid, highGrid}) {
        grid->setSpacing(1);
        grid->setContentsMargins(4, 4, 4, 4);
    }

    for (int code = 0; code < 128; ++code) {
        const bool character = ShowsCharacter(code);
        QWidget* parent = code < 32 ? low : middle;
        auto* b = codeButton(QStringLiteral("cmdASCII1(%1)").arg(code),
                             character ? QString(QChar(code)) : QString::number(code), parent);
        if (character) {
            QFont f = b->font();
            f.setBold(true);
            b->setFont(f);
            b->setToolTip(QString::number(code));
        }
        connect(b, &QPushButton::clicked, this, [this, code] { cmdASCII1_Click(code); });
        cmdASCII1[static_cast<size_t>(code)] = b;
        if (code < 32) {
            lowGrid->addWidget(b, code / 16, code % 16); // rows of 16
        } else {
            middleGrid->addWidget(b, (code - 32) % 16, (code - 32) / 16); // columns of 16
        }
    }
    for (int i = 0; i < 128; ++i) {
        auto* b =
            codeButton(QStringLiteral("cmdASCII2(%1)").arg(i), QString::number(i + 128), high);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdASCII2_Click(i); });
        cmdASCII2[static_cast<size_t>(i)] = b;
        highGrid->addWidget(b, i % 16, i / 16);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(low, 0, Qt::AlignLeft);
    auto* lower = new QHBoxLayout;
    lower->addWidget(middle);
    lower->addWidget(high);
    lower->addStretch(1);
    layout->addLayout(lower);
    auto* note = new QLabel(tr("Bold means ASCII symbol"), this);
    QFont f = note->font();
    f.setBold(true);
    note->setFont(f);
    layout->addWidget(note);
    layout->addStretch(1);
}

void AsciiPanel::cmdASCII1_Click(int i_iIndex) {
    QPushButton* b = cmdASCII1[static_cast<size_t>(i_iIndex)];
    // Numeric captions stand for their code; the bold ones are the character itself.
    const QString message =
        ShowsCharacter(i_iIndex)
            ? b->text()
            : QString(QChar(static_cast<int>(NumberText::LeadingNumber(b->text()))));
    m_host.RunCommand(false, [this, message] { return m_host.Lumo().SendMessage(message); });
}

void AsciiPanel::cmdASCII2_Click(int i_iIndex) {
    const auto code = static_cast<quint8>(
        NumberText::LeadingNumber(cmdASCII2[static_cast<size_t>(i_iIndex)]->text()));
    m_host.RunCommand(false, [this, code] { return m_host.Lumo().SendMessageB(code); });
}
