#pragma once

#include <QDialog>

class DeviceWatcher;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// "Choose Device…": which device a port number (COMn) leads to. It lists every serial device
// of the machine with its stable alias, description and state, kept current while devices
// come and go, and takes any other path typed in (a pseudo-terminal, a link) once it is known
// to be a terminal device. OK writes "Ports"/"COMn", with the by-id alias where there is one
// so that the choice survives re-plugging; "Use Default" removes it. The system console is
// offered only on purpose.
class frmChooseDevice : public QDialog {
    Q_OBJECT

public:
    frmChooseDevice(int i_iPort, DeviceWatcher& io_watcher, QWidget* i_pParent = nullptr);

    QLabel* lblPort;
    QLabel* lblEnvironment;
    QTreeWidget* lstDevices;
    QLineEdit* txtDevicePath;
    QLabel* lblPathCheck;
    QCheckBox* chkConsole;
    QPushButton* cmdOK;
    QPushButton* cmdUseDefault;
    QPushButton* cmdCancel;

private:
    void FillList();
    void lstDevices_Select();
    void cmdOK_Click();
    void cmdUseDefault_Click();
    // The reason the typed path cannot be used, or empty.
    QString PathProblem(const QString& i_sPath) const;

    int m_iPort;
    DeviceWatcher& m_watcher;
};
