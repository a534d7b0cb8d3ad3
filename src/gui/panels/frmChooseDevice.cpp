#include "gui/panels/frmChooseDevice.h"

#include "core/ports/DeviceState.h"
#include "core/ports/DeviceWatcher.h"
#include "core/ports/PortResolver.h"
#include "core/ports/SerialDiscovery.h"
#include "gui/widgets/PlainToolTip.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { PathColumn, AliasColumn, DescriptionColumn, UsbColumn, StateColumn };

QLabel* namedLabel(const QString& i_sName, QWidget* i_pParent) {
    auto* label = new QLabel(i_pParent);
    label->setObjectName(i_sName);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText); // paths and device names are never markup
    return label;
}

QPushButton* namedButton(const QString& i_sName, const QString& i_sCaption, QWidget* i_pParent) {
    auto* button = new QPushButton(i_sCaption, i_pParent);
    button->setObjectName(i_sName);
    return button;
}

} // namespace

frmChooseDevice::frmChooseDevice(int i_iPort, DeviceWatcher& io_watcher, QWidget* i_pParent)
    : QDialog(i_pParent), m_iPort(i_iPort), m_watcher(io_watcher) {
    setObjectName(QStringLiteral("frmChooseDevice"));
    setWindowTitle(tr("Choose Device for COM%1").arg(i_iPort));

    lblPort = namedLabel(QStringLiteral("lblPort"), this);
    lblPort->setText(tr("COM%1 leads to %2 (from %3).")
                         .arg(i_iPort)
                         .arg(PortResolver::DevicePath(i_iPort), PortResolver::Source(i_iPort)));
    lblEnvironment = namedLabel(QStringLiteral("lblEnvironment"), this);
    const QString fromEnv = PortResolver::FromEnvironment(i_iPort);
    lblEnvironment->setText(tr("%1 is set to %2: it wins over the choice made here for as long "
                               "as it is set.")
                                .arg(PortResolver::EnvironmentName(i_iPort), fromEnv));
    lblEnvironment->setStyleSheet(QStringLiteral("color: #a05a00;"));
    lblEnvironment->setVisible(!fromEnv.isEmpty());

    lstDevices = new QTreeWidget(this);
    lstDevices->setObjectName(QStringLiteral("lstDevices"));
    lstDevices->setRootIsDecorated(false);
    lstDevices->setUniformRowHeights(true);
    lstDevices->setHeaderLabels(
        {tr("Device"), tr("Stable name (by-id)"), tr("Description"), tr("USB ID"), tr("State")});
    lstDevices->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstDevices->setMinimumSize(640, 160);

    txtDevicePath = new QLineEdit(this);
    txtDevicePath->setObjectName(QStringLiteral("txtDevicePath"));
    txtDevicePath->setPlaceholderText(tr("a device above, or any path: /dev/pts/3, a link..."));
    lblPathCheck = namedLabel(QStringLiteral("lblPathCheck"), this);
    lblPathCheck->setStyleSheet(QStringLiteral("color: #b00020;"));
    chkConsole =
        new QCheckBox(tr("Allow the system console (it is never a customer display)"), this);
    chkConsole->setObjectName(QStringLiteral("chkConsole"));

    cmdOK = namedButton(QStringLiteral("cmdOK"), tr("OK"), this);
    cmdOK->setDefault(true);
    cmdUseDefault = namedButton(QStringLiteral("cmdUseDefault"), tr("Use Default"), this);
    cmdUseDefault->setToolTip(
        tr("Forget the choice: COM%1 leads to the system's own port again").arg(i_iPort));
    cmdCancel = namedButton(QStringLiteral("cmdCancel"), tr("Cancel"), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdUseDefault, QDialogButtonBox::ResetRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);

    auto* form = new QFormLayout;
    form->addRow(tr("Device path:"), txtDevicePath);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPort);
    layout->addWidget(lblEnvironment);
    layout->addWidget(new QLabel(tr("Serial devices of this computer:"), this));
    layout->addWidget(lstDevices, 1);
    layout->addLayout(form);
    layout->addWidget(lblPathCheck);
    layout->addWidget(chkConsole);
    layout->addWidget(buttons);

    connect(lstDevices, &QTreeWidget::itemSelectionChanged, this, [this] { lstDevices_Select(); });
    connect(lstDevices, &QTreeWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdUseDefault, &QPushButton::clicked, this, [this] { cmdUseDefault_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_watcher, &DeviceWatcher::devicesChanged, this, [this] { FillList(); });
    FillList();
}

void frmChooseDevice::FillList() {
    const QString selected = lstDevices->currentItem() != nullptr
                                 ? lstDevices->currentItem()->text(PathColumn)
                                 : QString();
    const QSignalBlocker blocker(lstDevices);
    lstDevices->clear();
    for (const SerialDevice& d : m_watcher.Devices()) {
        auto* item =
            new QTreeWidgetItem(lstDevices, {d.path, d.alias, d.Label(), d.UsbId(), d.StateText()});
        item->setData(PathColumn, Qt::UserRole, d.MappingValue());
        item->setToolTip(DescriptionColumn, PlainToolTip::Of(d.manufacturer));
        if (d.path == selected) {
            lstDevices->setCurrentItem(item);
        }
    }
}

void frmChooseDevice::lstDevices_Select() {
    if (QTreeWidgetItem* item = lstDevices->currentItem()) {
        txtDevicePath->setText(item->data(PathColumn, Qt::UserRole).toString());
        lblPathCheck->clear();
    }
}

QString frmChooseDevice::PathProblem(const QString& i_sPath) const {
    if (i_sPath.isEmpty()) {
        return tr("Choose a device in the list or type the path of one.");
    }
    QString why;
    if (!DeviceState::IsTerminalDevice(i_sPath, why)) {
        return why;
    }
    qint64 pid = 0;
    if (DeviceState::Of(i_sPath, QString(), pid) == SerialDevice::State::Console &&
        !chkConsole->isChecked()) {
        return tr("%1 is the system console: writing to it disturbs this computer. Tick the box "
                  "below to use it all the same.")
            .arg(i_sPath);
    }
    return {};
}

void frmChooseDevice::cmdOK_Click() {
    const QString path = txtDevicePath->text().trimmed();
    const QString problem = PathProblem(path);
    if (!problem.isEmpty()) {
        lblPathCheck->setText(problem);
        return;
    }
    PortResolver::SetMapping(m_iPort, path);
    accept();
}

void frmChooseDevice::cmdUseDefault_Click() {
    PortResolver::RemoveMapping(m_iPort);
    accept();
}
