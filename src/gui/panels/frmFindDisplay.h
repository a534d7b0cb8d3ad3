#pragma once

#include "core/ports/SerialDevice.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QPushButton;

// Starts Find Display: lists the devices the search would write its queries to, which is the
// selected port's device alone unless the technician ticks chkAllDevices. On a till the other
// serial devices are printers, scanners, scales and cash drawers, so trying them is a choice.
class frmFindDisplay : public QDialog {
    Q_OBJECT

public:
    // i_sSelected: the device the selected port leads to (empty when no port is selected);
    // i_devices: the machine's serial devices.
    frmFindDisplay(const QString& i_sSelected, const SerialDeviceList& i_devices,
                   QWidget* i_pParent = nullptr);

    // True when the technician chose to try the other devices as well.
    bool AllDevices() const;

    QCheckBox* chkAllDevices;
    QListWidget* lstFindDevices;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void FillList();

    QString m_sSelected;
    SerialDeviceList m_devices;
};
