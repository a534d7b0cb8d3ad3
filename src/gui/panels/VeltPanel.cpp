#include "gui/panels/VeltPanel.h"

#include "core/common/ControlText.h"
#include "core/common/LumoError.h"
#include "core/common/LumoStatus.h"
#include "core/common/NumberText.h"
#include "core/device/CLumo.h"
#include "core/settings/RememberedSelections.h"
#include "core/settings/SelectionLists.h"
#include "gui/panels/CommandHost.h"
#include "gui/widgets/ComboList.h"
#include "gui/widgets/TypingLimit.h"
#include "gui/widgets/UpDown.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The buttons of cmdVELT by index, one per command row.
enum VeltButton {
    BaudRateButton = 0,
    InternationalCodeButton = 1,
    SaveLayerButton = 2,
    PositionButton = 3,
    ClearRangeButton = 4,
    DemoMessageButton = 5,
    SendButton = 6,
    GetButton = 7,
    PeripheralButton = 8,
    VersionButton = 9,
    RebootModeButton = 10,
};

const QString kVersionCaption = QStringLiteral("Firmware Version : ");

QLineEdit* numberBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(QStringLiteral("1"), parent);
    box->setObjectName(name);
    box->setFixedWidth(48);
    return box;
}

// A text box and its spinner side by side.
QWidget* spun(QLineEdit* box, UpDown* spinner, QWidget* parent) {
    auto* holder = new QWidget(parent);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(box);
    row->addWidget(spinner);
    row->addStretch(1);
    return holder;
}

} // namespace

VeltPanel::VeltPanel(CommandHost& i_host, QWidget* i_pParent) : QWidget(i_pParent), m_host(i_host) {
    setObjectName(QStringLiteral("VeltPanel"));
    const QStringList captions = {tr("Set"), tr("Set"),        tr("Set"),  tr("Set"),
                                  tr("Set"), tr("Set"),        tr("Send"), tr("Get"),
                                  tr("Set"), tr("GetVersion"), tr("Set")};
    for (int i = 0; i < static_cast<int>(cmdVELT.size()); ++i) {
        auto* b = new QPushButton(captions[i], this);
        b->setObjectName(QStringLiteral("cmdVELT(%1)").arg(i));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdVELT_Click(i); });
        cmdVELT[static_cast<size_t>(i)] = b;
    }

    lblVersion = new QLabel(kVersionCaption, this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblVersion->setTextFormat(Qt::PlainText); // the reply is shown as it came, never as markup

    cboS_BaudRate = ComboList::Create(QStringLiteral("cboS_BaudRate"), {}, false, this);
    cboS_Parity =
        ComboList::Create(QStringLiteral("cboS_Parity"), SelectionLists::Parities(), true, this);
    cboInternationalCode =
        ComboList::Create(QStringLiteral("cboInternationalCode"), {}, false, this);
    txtLayer = numberBox(QStringLiteral("txtLayer"), this);
    UpDown1 = new UpDown(QStringLiteral("UpDown1"), txtLayer, 1, 3, this);
    txtPosition = numberBox(QStringLiteral("txtPosition"), this);
    UpDown2 = new UpDown(QStringLiteral("UpDown2"), txtPosition, 1, 40, this);
    txtStart = numberBox(QStringLiteral("txtStart"), this);
    UpDown3 = new UpDown(QStringLiteral("UpDown3"), txtStart, 1, 40, this);
    txtEnd = numberBox(QStringLiteral("txtEnd"), this);
    UpDown4 = new UpDown(QStringLiteral("UpDown4"), txtEnd, 1, 40, this);
    cboLayer = ComboList::Create(QStringLiteral("cboLayer"), SelectionLists::Layers(), false, this);
    cboMode = ComboList::Create(QStringLiteral("cboMode"), {}, false, this);
    cboShowSavedMessageAfterRebootMode =
        ComboList::Create(QStringLiteral("cboShowSavedMessageAfterRebootMode"), {}, false, this);
    cboDevice =
        ComboList::Create(QStringLiteral("cboDevice"), SelectionLists::Devices(), false, this);
    txtMessage = new QLineEdit(this);
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    TypingLimit::Set(txtMessage, 40);
    txtMessage->setMinimumWidth(260);

    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* inputs, std::initializer_list<int> buttons) {
        if (!label.isEmpty()) {
            grid->addWidget(new QLabel(label, this), row, 0, 1, 2);
            ++row;
        }
        if (inputs != nullptr) {
            grid->addWidget(inputs, row, 1);
        }
        auto* holder = new QWidget(this);
        auto* hbox = new QHBoxLayout(holder);
        hbox->setContentsMargins(0, 0, 0, 0);
        for (const int index : buttons) {
            hbox->addWidget(cmdVELT[static_cast<size_t>(index)]);
        }
        grid->addWidget(holder, row, 2);
        ++row;
    };
    auto pair = [this](const QString& l1, QWidget* w1, const QString& l2, QWidget* w2) {
        auto* holder = new QWidget(this);
        auto* hbox = new QHBoxLayout(holder);
        hbox->setContentsMargins(0, 0, 0, 0);
        if (!l1.isEmpty()) {
            hbox->addWidget(new QLabel(l1, holder));
        }
        hbox->addWidget(w1, 1);
        if (w2 != nullptr) {
            if (!l2.isEmpty()) {
                hbox->addWidget(new QLabel(l2, holder));
            }
            hbox->addWidget(w2, 1);
        }
        return holder;
    };

    grid->addWidget(lblVersion, row, 0, 1, 2);
    auto* versionButton = new QWidget(this);
    auto* vbox = new QHBoxLayout(versionButton);
    vbox->setContentsMargins(0, 0, 0, 0);
    vbox->addWidget(cmdVELT[VersionButton]);
    grid->addWidget(versionButton, row++, 2);
    addRow(tr("Modify the Lumo Baud-Rate and Parity:"),
           pair(QString(), cboS_BaudRate, QString(), cboS_Parity), {BaudRateButton});
    addRow(tr("International Code:"), cboInternationalCode, {InternationalCodeButton});
    addRow(tr("Save the Current View Message (Layer):"), spun(txtLayer, UpDown1, this),
           {SaveLayerButton});
    addRow(tr("Set Cursor Position:"), spun(txtPosition, UpDown2, this), {PositionButton});
    addRow(tr("Clear Display Range:"),
           pair(tr("From:"), spun(txtStart, UpDown3, this), tr("To:"), spun(txtEnd, UpDown4, this)),
           {ClearRangeButton});
    addRow(tr("Display the Saved Demo Message:"),
           pair(tr("Layer:"), cboLayer, tr("Mode:"), cboMode), {DemoMessageButton});
    addRow(tr("Show Saved Message after Reboot Mode :"), cboShowSavedMessageAfterRebootMode,
           {RebootModeButton});
    addRow(tr("Peripheral Device:"), cboDevice, {PeripheralButton});
    addRow(tr("Get/Send Message:"), txtMessage, {SendButton, GetButton});
    grid->setRowStretch(row, 1);

    // Row by row: the inputs of a row, then its button.
    const std::initializer_list<QWidget*> order = {cmdVELT[VersionButton],
                                                   cboS_BaudRate,
                                                   cboS_Parity,
                                                   cmdVELT[BaudRateButton],
                                                   cboInternationalCode,
                                                   cmdVELT[InternationalCodeButton],
                                                   txtLayer,
                                                   cmdVELT[SaveLayerButton],
                                                   txtPosition,
                                                   cmdVELT[PositionButton],
                                                   txtStart,
                                                   txtEnd,
                                                   cmdVELT[ClearRangeButton],
                                                   cboLayer,
                                                   cboMode,
                                                   cmdVELT[DemoMessageButton],
                                                   cboShowSavedMessageAfterRebootMode,
                                                   cmdVELT[RebootModeButton],
                                                   cboDevice,
                                                   cmdVELT[PeripheralButton],
                                                   txtMessage,
                                                   cmdVELT[SendButton],
                                                   cmdVELT[GetButton]};
    for (auto it = order.begin(); it + 1 != order.end(); ++it) {
        QWidget::setTabOrder(*it, *(it + 1));
    }

    // These lists only remember their selection; the commands read them when they run.
    for (QComboBox* list :
         {cboS_BaudRate, cboS_Parity, cboLayer, cboMode, cboShowSavedMessageAfterRebootMode}) {
        ComboList::OnSelection(
            list, [list](int i) { RememberedSelections::Save(list->objectName(), i); });
    }
    ComboList::OnSelection(cboInternationalCode, [this](int i) { cboInternationalCode_Click(i); });
}

void VeltPanel::FillFixedLists() {
    ComboList::Fill(cboS_BaudRate, SelectionLists::BaudRates());
    ComboList::Fill(cboShowSavedMessageAfterRebootMode, SelectionLists::RebootModes());
}

void VeltPanel::FillModeList(const DisplayType& i_type) {
    ComboList::Fill(cboMode,
                    i_type.modeListB ? SelectionLists::ModesB() : SelectionLists::ModesA());
}

void VeltPanel::ApplyGeometry(const DisplayType& i_type) {
    TypingLimit::Set(txtMessage, i_type.MessageLength());
    txtMessage->clear();
    UpDown2->setMax(i_type.cells);
    UpDown3->setMax(i_type.cells);
    UpDown4->setMax(i_type.cells);
}

void VeltPanel::ApplyDisplayType(const DisplayType& i_type) {
    ApplyGeometry(i_type);
    FillModeList(i_type);
    ComboList::Select(cboMode, 0);
    ComboList::Fill(cboInternationalCode, SelectionLists::InternationalCodes());
    ComboList::Select(cboInternationalCode, 0);
}

void VeltPanel::SelectInternationalCode(int i_iIndex) {
    ComboList::SelectIfPresent(cboInternationalCode, i_iIndex);
}

void VeltPanel::ShowMessage(const QString& i_sMessage) {
    TypingLimit::ShowWhole(txtMessage, i_sMessage);
}

void VeltPanel::cboInternationalCode_Click(int i_iIndex) {
    RememberedSelections::Save(cboInternationalCode->objectName(), i_iIndex);
    emit internationalCodeSelected(i_iIndex);
}

bool VeltPanel::ReadInt16Field(QLineEdit* i_pBox, const QString& i_sField, qint16& o_iValue) {
    try {
        o_iValue = NumberText::ReadInt16(i_pBox->text());
        return true;
    } catch (const LumoError&) {
        m_host.Refuse(tr("%1: \"%2\" is too large. Enter a number from -32768 to 32767.")
                          .arg(i_sField, i_pBox->text()));
        return false;
    }
}

void VeltPanel::cmdVELT_Click(int i_iIndex) {
    if (m_host.Busy()) {
        return;
    }
    qint16 number = 0;
    if (i_iIndex == SaveLayerButton && !ReadInt16Field(txtLayer, tr("Layer"), number)) {
        return;
    }
    if (i_iIndex == PositionButton && !ReadInt16Field(txtPosition, tr("Cursor position"), number)) {
        return;
    }
    m_host.RunCommand(true, [this, i_iIndex] { return RunIndex(i_iIndex); });
}

int VeltPanel::RunIndex(int i_iIndex) {
    CLumo& lumo = m_host.Lumo();
    switch (i_iIndex) {
    case BaudRateButton: {
        const int status =
            lumo.SetBaudRate(cboS_BaudRate->currentText(), cboS_Parity->currentText());
        if (status == LumoStatus::Success || status == LumoStatus::Nack) {
            // The display now listens at the new rate: follow it with the computer's own port.
            emit displayBaudRateChanged(cboS_BaudRate->currentIndex());
        }
        return status;
    }
    case InternationalCodeButton:
        return lumo.SetInternationalCode(static_cast<qint16>(cboInternationalCode->currentIndex()));
    case SaveLayerButton:
        return lumo.SaveMessage(NumberText::ReadInt16(txtLayer->text()));
    case PositionButton:
        return lumo.SetPosition(NumberText::ReadInt16(txtPosition->text()));
    case ClearRangeButton:
        return lumo.ClearDisplay(NumberText::LeadingNumber(txtStart->text()),
                                 NumberText::LeadingNumber(txtEnd->text()));
    case DemoMessageButton:
        return lumo.DisplayDemoMessage(cboLayer->currentIndex(), cboMode->currentIndex());
    case SendButton: {
        const int status = lumo.SendMessage(txtMessage->text());
        emit messageChanged(txtMessage->text());
        return status;
    }
    case GetButton: {
        QString message;
        const int status = lumo.GetMessage(message);
        TypingLimit::ShowWhole(txtMessage, message); // the whole reply, however long
        emit messageChanged(message);
        return status;
    }
    case PeripheralButton:
        return cboDevice->currentIndex() == 0 ? lumo.PrinterOn() : lumo.PrinterOff();
    case VersionButton: {
        lblVersion->setText(kVersionCaption);
        QString version;
        const int status = lumo.GetVersion(version);
        lblVersion->setText(kVersionCaption + ControlText::Escaped(version));
        return status;
    }
    case RebootModeButton:
        return lumo.DisplayShowSavedMessageAfterRebootMode(
            cboShowSavedMessageAfterRebootMode->currentIndex());
    default:
        return LumoStatus::Success;
    }
}
