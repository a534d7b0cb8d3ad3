#include "gui/panels/frmFindDisplay.h"

#include "core/scan/ScanPlan.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmFindDisplay::frmFindDisplay(const QString& i_sSelected, const SerialDeviceList& i_devices,
                               QWidget* i_pParent)
    : QDialog(i_pParent), m_sSelected(i_sSelected), m_devices(i_devices) {
    setObjectName(QStringLiteral("frmFindDisplay"));
    setWindowTitle(tr("Find Display"));

    auto* intro =
        new QLabel(tr("The version query is sent at every baud rate and parity to:"), this);
    intro->setWordWrap(true);
    lstFindDevices = new QListWidget(this);
    lstFindDevices->setObjectName(QStringLiteral("lstFindDevices"));
    lstFindDevices->setSelectionMode(QAbstractItemView::NoSelection);
    lstFindDevices->setMinimumSize(420, 120);
    chkAllDevices = new QCheckBox(tr("Also try the other serial devices"), this);
    chkAllDevices->setObjectName(QStringLiteral("chkAllDevices"));
    chkAllDevices->setToolTip(tr("At a wrong speed the query reaches a printer, scanner, scale "
                                 "or cash drawer as other bytes"));

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(tr("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(lstFindDevices, 1);
    layout->addWidget(chkAllDevices);
    layout->addWidget(buttons);

    connect(chkAllDevices, &QCheckBox::toggled, this, [this] { FillList(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FillList();
}

bool frmFindDisplay::AllDevices() const {
    return chkAllDevices->isChecked();
}

void frmFindDisplay::FillList() {
    lstFindDevices->clear();
    // The scan's own plan, so that the list is what the search writes to. A device that is
    // not free when its turn comes is left out by the search; the list says so already.
    for (const SerialDevice& device : ScanPlan::Candidates(m_sSelected, m_devices, AllDevices())) {
        QString line = device.path;
        if (!device.Label().isEmpty()) {
            line += QStringLiteral("  ") + device.Label();
        }
        if (device.state != SerialDevice::State::Free) {
            line += tr("  (%1: left out)").arg(device.StateText());
        }
        lstFindDevices->addItem(line);
    }
    cmdOK->setEnabled(lstFindDevices->count() > 0);
}
