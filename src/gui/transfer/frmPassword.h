#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The service password in front of the firmware update. IsOK is true only after the right
// password was given with OK; Cancel, Esc and the close box leave it false.
class frmPassword : public QDialog {
    Q_OBJECT

public:
    explicit frmPassword(QWidget* i_pParent = nullptr);

    bool IsOK() const { return m_blnIsOK; }

protected:
    void showEvent(QShowEvent* i_pEvent) override;

private:
    void cmdCtrl_Click(int i_iIndex);

    QLabel* Label1;
    QLineEdit* txtPassword;
    std::array<QPushButton*, 2> cmdCtrl{};
    bool m_blnIsOK = false;
};
