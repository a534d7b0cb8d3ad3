#include "gui/panels/EpsonPanel.h"

#include "core/common/NumberText.h"
#include "core/device/CLumo.h"
#include "core/settings/RememberedSelections.h"
#include "core/settings/SelectionLists.h"
#include "gui/panels/CommandHost.h"
#include "gui/widgets/ComboList.h"
#include "gui/widgets/TypingLimit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The buttons of cmdEPSON by index.
enum EpsonButton {
    UpButton = 0,
    DownButton = 1,
    LeftButton = 2,
    RightButton = 3,
    HomeButton = 4,
    BottomButton = 5,
    LineStartButton = 6,
    LineEndButton = 7,
    ClearScreenButton = 8,
    ClearLineButton = 9,
    CursorToggle = 10,
    ReverseToggle = 11,
    AuxDeviceToggle = 12,
    InitializeButton = 13,
    SelfTestButton = 14,
    PositionButton = 15,
    NationalButton = 16,
    ExpandButton = 17,
    BlinkButton = 18,
    SendButton = 19,
};

struct ButtonDesign {
    const char* caption;
    const char* tooltip;
    const char* bytes; // sent with SendMessage; empty where the press builds its own
};

// Index = button index. The toggles (10, 11, 12) show what the next press does.
constexpr std::array<ButtonDesign, 20> kButtons{{
    {"", "up", "\x1F\x0A"},
    {"", "down", "\x0A"},
    {"", "left", "\x08"},
    {"", "right", "\x09"},
    {"", "home position", "\x0B"},
    {"US B", "bottom position", "\x1F\x42"},
    {"CR", "left end of the line", "\x0D"},
    {"US CR", "right end of the line", "\x1F\x0D"},
    {"CLR", "screen clear", "\x0C"},
    {"CAN", "line clear", "\x18"},
    {"cursor on", "", ""},
    {"reverse", "", ""},
    {"aux-device on", "", ""},
    {"Initialize", "", "\x1B\x40"},
    {"SelfTest", "", "\x1F\x40"},
    {"Position", "", ""},
    {"Set", "", ""},
    {"Set", "", ""},
    {"Set", "", ""},
    {"Send", "", ""},
}};

struct ToggleDesign {
    const char* designCaption;
    const char* secondCaption;
    const char* first;  // sent by the press that finds Tag "0"
    const char* second; // sent by the press that finds Tag "1"
};

const ToggleDesign* toggleFor(int index) {
    static const ToggleDesign toggles[] = {
        {"cursor on", "cursor off", "\x1F\x43\x31", "\x1F\x43\x30"},
        {"reverse", "normal", "\x1F\x72\x31", "\x1F\x72\x30"},
        {"aux-device on", "aux-device off", "\x1B\x47", "\x1B\x53"},
    };
    return index >= CursorToggle && index <= AuxDeviceToggle ? &toggles[index - CursorToggle]
                                                             : nullptr;
}

QString text(const char* bytes) {
    return QString::fromLatin1(bytes);
}

QString bytesText(std::initializer_list<int> bytes) {
    QString out;
    for (const int b : bytes) {
        out.append(QChar(b));
    }
    return out;
}

QWidget* labelled(const QString& label, QWidget* field, QPushButton* button, QWidget* parent) {
    auto* holder = new QWidget(parent);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(label, holder);
    caption->setMinimumWidth(52);
    caption->setBuddy(field);
    row->addWidget(caption);
    row->addWidget(field, 1);
    if (button != nullptr) {
        row->addWidget(button);
    }
    return holder;
}

} // namespace

QString EpsonPanel::Tag(const QPushButton* i_pButton) {
    return i_pButton->property("Tag").toString();
}

EpsonPanel::EpsonPanel(CommandHost& i_host, QWidget* i_pParent)
    : QWidget(i_pParent), m_host(i_host) {
    setObjectName(QStringLiteral("EpsonPanel"));
    for (int i = 0; i < static_cast<int>(cmdEPSON.size()); ++i) {
        const ButtonDesign& design = kButtons[static_cast<size_t>(i)];
        auto* b = new QPushButton(QString::fromLatin1(design.caption), this);
        b->setObjectName(QStringLiteral("cmdEPSON(%1)").arg(i));
        if (*design.tooltip != '\0') {
            b->setToolTip(QString::fromLatin1(design.tooltip));
        }
        if (const ToggleDesign* toggle = toggleFor(i)) {
            b->setProperty("Tag", QStringLiteral("0"));
            // Wide enough for either caption, so the layout does not jump on a press.
            const int text =
                std::max(b->fontMetrics().horizontalAdvance(QLatin1String(toggle->designCaption)),
                         b->fontMetrics().horizontalAdvance(QLatin1String(toggle->secondCaption)));
            b->setMinimumWidth(text + 24);
        }
        connect(b, &QPushButton::clicked, this, [this, i] { cmdEPSON_Click(i); });
        cmdEPSON[static_cast<size_t>(i)] = b;
    }
    for (int i = UpButton; i <= HomeButton; ++i) {
        cmdEPSON[static_cast<size_t>(i)]->setIconSize(QSize(20, 20));
        cmdEPSON[static_cast<size_t>(i)]->setFixedSize(40, 32);
    }

    txtEPSON = new QLineEdit(this);
    txtEPSON->setObjectName(QStringLiteral("txtEPSON"));
    TypingLimit::Set(txtEPSON, 40);
    cboPeripheral = ComboList::Create(QStringLiteral("cboPeripheral"),
                                      SelectionLists::Peripherals(), true, this);
    cboOperation =
        ComboList::Create(QStringLiteral("cboOperation"), SelectionLists::Operations(), true, this);
    cboNational = ComboList::Create(QStringLiteral("cboNational"), {}, true, this);
    cboExpand = ComboList::Create(QStringLiteral("cboExpand"), {}, true, this);
    txtBlink = new QLineEdit(this);
    txtBlink->setObjectName(QStringLiteral("txtBlink"));
    txtBlink->setInputMask(QStringLiteral("999;_"));
    txtBlink->setFixedWidth(48);
    cboRow = ComboList::Create(QStringLiteral("cboRow"), {}, true, this);
    cboColumn = ComboList::Create(QStringLiteral("cboColumn"), {}, true, this);

    auto* layout = new QVBoxLayout(this);
    auto* message = new QHBoxLayout;
    auto* messageLabel = new QLabel(tr("Message"), this);
    messageLabel->setBuddy(txtEPSON);
    message->addWidget(messageLabel);
    message->addWidget(txtEPSON, 1);
    message->addWidget(cmdEPSON[SendButton]);
    layout->addLayout(message);

    auto* peripheral = new QGroupBox(tr("Peripheral"), this);
    auto* pbox = new QHBoxLayout(peripheral);
    pbox->addWidget(labelled(tr("Device"), cboPeripheral, cmdEPSON[AuxDeviceToggle], peripheral));
    pbox->addStretch(1);
    layout->addWidget(peripheral);

    auto* operation = new QGroupBox(tr("Operation"), this);
    auto* ogrid = new QGridLayout(operation);
    ogrid->addWidget(labelled(tr("Mode:"), cboOperation, nullptr, operation), 0, 0, 1, 3);
    const int opButtons[] = {ClearScreenButton, ClearLineButton,  CursorToggle,
                             ReverseToggle,     InitializeButton, SelfTestButton};
    for (int k = 0; k < 6; ++k) {
        ogrid->addWidget(cmdEPSON[static_cast<size_t>(opButtons[k])], 1 + k / 3, k % 3);
    }
    ogrid->addWidget(labelled(tr("National"), cboNational, cmdEPSON[NationalButton], operation), 3,
                     0, 1, 3);
    ogrid->addWidget(labelled(tr("Expand"), cboExpand, cmdEPSON[ExpandButton], operation), 4, 0, 1,
                     3);
    auto* blinkRow = labelled(tr("Blink"), txtBlink, cmdEPSON[BlinkButton], operation);
    qobject_cast<QHBoxLayout*>(blinkRow->layout())->insertStretch(2, 1);
    ogrid->addWidget(blinkRow, 5, 0, 1, 3);

    auto* cursor = new QGroupBox(tr("Cursor control"), this);
    auto* cgrid = new QGridLayout(cursor);
    // Arrow pad: up above, left/home/right in the middle, down below.
    cgrid->addWidget(cmdEPSON[UpButton], 0, 1);
    cgrid->addWidget(cmdEPSON[LeftButton], 1, 0);
    cgrid->addWidget(cmdEPSON[HomeButton], 1, 1);
    cgrid->addWidget(cmdEPSON[RightButton], 1, 2);
    cgrid->addWidget(cmdEPSON[DownButton], 2, 1);
    auto* ends = new QVBoxLayout;
    ends->addWidget(cmdEPSON[BottomButton]);
    ends->addWidget(cmdEPSON[LineStartButton]);
    ends->addWidget(cmdEPSON[LineEndButton]);
    cgrid->addLayout(ends, 0, 3, 3, 1);
    auto* position = new QGroupBox(tr("Set Position(coordinate)"), cursor);
    auto* posGrid = new QGridLayout(position);
    posGrid->addWidget(labelled(tr("row"), cboRow, nullptr, position), 0, 0);
    posGrid->addWidget(labelled(tr("column"), cboColumn, nullptr, position), 1, 0);
    posGrid->addWidget(cmdEPSON[PositionButton], 2, 0);
    cgrid->addWidget(position, 0, 4, 3, 1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(operation, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(cursor);
    right->addStretch(1);
    lower->addLayout(right, 1);
    layout->addLayout(lower);
    layout->addStretch(1);

    // Top to bottom, then the cursor pad, the way the frames read.
    const std::initializer_list<QWidget*> order = {txtEPSON,
                                                   cmdEPSON[SendButton],
                                                   cboPeripheral,
                                                   cmdEPSON[AuxDeviceToggle],
                                                   cboOperation,
                                                   cmdEPSON[ClearScreenButton],
                                                   cmdEPSON[ClearLineButton],
                                                   cmdEPSON[CursorToggle],
                                                   cmdEPSON[ReverseToggle],
                                                   cmdEPSON[InitializeButton],
                                                   cmdEPSON[SelfTestButton],
                                                   cboNational,
                                                   cmdEPSON[NationalButton],
                                                   cboExpand,
                                                   cmdEPSON[ExpandButton],
                                                   txtBlink,
                                                   cmdEPSON[BlinkButton],
                                                   cmdEPSON[UpButton],
                                                   cmdEPSON[LeftButton],
                                                   cmdEPSON[HomeButton],
                                                   cmdEPSON[RightButton],
                                                   cmdEPSON[DownButton],
                                                   cmdEPSON[BottomButton],
                                                   cmdEPSON[LineStartButton],
                                                   cmdEPSON[LineEndButton],
                                                   cboRow,
                                                   cboColumn,
                                                   cmdEPSON[PositionButton]};
    for (auto it = order.begin(); it + 1 != order.end(); ++it) {
        QWidget::setTabOrder(*it, *(it + 1));
    }

    ComboList::OnSelection(cboOperation, [this](int i) { cboOperation_Click(i); });
    ComboList::OnSelection(cboPeripheral, [this](int i) { cboPeripheral_Click(i); });
    ComboList::OnSelection(cboNational, [this](int i) { cboNational_Click(i); });
}

void EpsonPanel::cmdEPSON_Click(int i_iIndex) {
    if (m_host.Busy() || !Check(i_iIndex)) {
        return;
    }
    m_host.RunCommand(false, [this, i_iIndex] { return Send(i_iIndex); });
}

bool EpsonPanel::Check(int i_iIndex) {
    if (i_iIndex == NationalButton && cboNational->currentIndex() < 0) {
        m_host.Refuse(tr("National: choose a character set from the list (0 to 14)."));
        return false;
    }
    if (i_iIndex == ExpandButton && NumberText::LeadingNumber(cboExpand->currentText()) < 0) {
        m_host.Refuse(tr("Expand: \"%1\" is negative. Enter a code table number from 0 to 255.")
                          .arg(cboExpand->currentText()));
        return false;
    }
    if (i_iIndex == BlinkButton && BlinkNumber() > 255) {
        m_host.Refuse(tr("Blink: %1 does not fit the command. Enter a number from 0 to 255.")
                          .arg(txtBlink->displayText()));
        return false;
    }
    return true;
}

int EpsonPanel::Toggle(int i_iIndex) {
    QPushButton* button = cmdEPSON[static_cast<size_t>(i_iIndex)];
    const ToggleDesign& toggle = *toggleFor(i_iIndex);
    // Caption and state change before the bytes go out, so a failed send still flips it.
    if (Tag(button) == QLatin1String("0")) {
        button->setProperty("Tag", QStringLiteral("1"));
        button->setText(QString::fromLatin1(toggle.secondCaption));
        return m_host.Lumo().SendMessage(text(toggle.first));
    }
    button->setProperty("Tag", QStringLiteral("0"));
    button->setText(QString::fromLatin1(toggle.designCaption));
    return m_host.Lumo().SendMessage(text(toggle.second));
}

int EpsonPanel::Send(int i_iIndex) {
    CLumo& lumo = m_host.Lumo();
    if (toggleFor(i_iIndex) != nullptr) {
        return Toggle(i_iIndex);
    }
    switch (i_iIndex) {
    case PositionButton:
        return lumo.SendMessage(
            bytesText({0x1F, 0x24, cboColumn->currentIndex() + 1, cboRow->currentIndex() + 1}));
    case NationalButton:
        return lumo.SendMessage(bytesText({0x1B, 0x52, cboNational->currentIndex()}));
    case ExpandButton: {
        // Above 255 is judged on the number as typed: 255.4 is above 255 and selects entry 0.
        const double typed = NumberText::LeadingNumber(cboExpand->currentText());
        const double number = typed > 255 ? 0 : NumberText::RoundHalfEven(typed);
        ComboList::SelectIfPresent(cboExpand, static_cast<int>(number));
        return lumo.SendMessageStringAndByte(
            text("\x1B\x74"), static_cast<quint8>(std::max(0, cboExpand->currentIndex())));
    }
    case BlinkButton:
        return lumo.SendMessageStringAndByte(
            text("\x1F\x45"), static_cast<quint8>(NumberText::RoundHalfEven(BlinkNumber())));
    case SendButton: {
        // The native tab's message box takes the text too. Both boxes have the same length
        // limit, so what goes out is what both show.
        emit messageChanged(txtEPSON->text());
        return lumo.SendMessage(txtEPSON->text());
    }
    default:
        return lumo.SendMessage(text(kButtons[static_cast<size_t>(i_iIndex)].bytes));
    }
}

double EpsonPanel::BlinkNumber() const {
    // The field as it reads, placeholders included: "2_5" is 2, not 25.
    return NumberText::LeadingNumber(txtBlink->displayText());
}

void EpsonPanel::cboOperation_Click(int i_iIndex) {
    if (m_host.Loading() || i_iIndex < 0 || i_iIndex > 2) {
        return;
    }
    m_host.RunListCommand([this, i_iIndex] {
        return m_host.Lumo().SendMessage(bytesText({0x1F, i_iIndex + 1}));
    });
}

void EpsonPanel::cboPeripheral_Click(int i_iIndex) {
    if (m_host.Loading() || i_iIndex < 0 || i_iIndex > 2) {
        return;
    }
    m_host.RunListCommand([this, i_iIndex] {
        return m_host.Lumo().SendMessage(bytesText({0x1B, 0x3D, i_iIndex + 1}));
    });
}

void EpsonPanel::cboNational_Click(int i_iIndex) {
    RememberedSelections::Save(cboNational->objectName(), i_iIndex);
    emit nationalSelected(i_iIndex);
}

void EpsonPanel::FillExpandList() {
    ComboList::Fill(cboExpand, SelectionLists::Numbers(0, 255));
}

void EpsonPanel::ShowCursorPictures() {
    for (int i = UpButton; i <= HomeButton; ++i) {
        cmdEPSON[static_cast<size_t>(i)]->setIcon(
            QIcon(QStringLiteral(":/icons/%1.png").arg(101 + i - UpButton)));
    }
}

void EpsonPanel::ApplyGeometry(const DisplayType& i_type) {
    TypingLimit::Set(txtEPSON, i_type.MessageLength());
    txtEPSON->clear();
    ComboList::Fill(cboRow, SelectionLists::Numbers(1, i_type.rows));
    ComboList::SelectIfPresent(cboRow, 0);
    ComboList::Fill(cboColumn, SelectionLists::Numbers(1, i_type.columns));
    ComboList::SelectIfPresent(cboColumn, 0);
}

void EpsonPanel::ApplyDisplayType(const DisplayType& i_type) {
    ApplyGeometry(i_type);
    ComboList::Fill(cboNational, SelectionLists::InternationalCodes());
    ComboList::Select(cboNational, 0);
}

void EpsonPanel::SelectNational(int i_iIndex) {
    ComboList::SelectIfPresent(cboNational, i_iIndex);
}

void EpsonPanel::ShowMessage(const QString& i_sMessage) {
    TypingLimit::ShowWhole(txtEPSON, i_sMessage);
}
