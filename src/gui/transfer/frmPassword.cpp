#include "gui/transfer/frmPassword.h"

#include "core/common/LumoError.h"
#include "core/transfer/ServicePassword.h"
#include "gui/transfer/TransferMessages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmPassword::frmPassword(QWidget* i_pParent)
    : QDialog(i_pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                             Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("Password Required"));
    setObjectName(QStringLiteral("frmPassword"));

    Label1 = new QLabel(QStringLiteral("Enter Password:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    txtPassword->setMinimumWidth(200);
    Label1->setBuddy(txtPassword);

    const std::array<QString, 2> captions{QStringLiteral("OK"), QStringLiteral("Cancel")};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (int i = 0; i < 2; ++i) {
        cmdCtrl[i] = new QPushButton(captions[i], this);
        cmdCtrl[i]->setObjectName(QStringLiteral("cmdCtrl(%1)").arg(i));
        cmdCtrl[i]->setMinimumWidth(80);
        buttons->addWidget(cmdCtrl[i]);
        connect(cmdCtrl[i], &QPushButton::clicked, this, [this, i] { cmdCtrl_Click(i); });
    }
    cmdCtrl[0]->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(6);
    layout->addWidget(Label1);
    layout->addWidget(txtPassword);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void frmPassword::showEvent(QShowEvent* i_pEvent) {
    m_blnIsOK = false;
    txtPassword->setFocus();
    QDialog::showEvent(i_pEvent);
}

void frmPassword::cmdCtrl_Click(int i_iIndex) {
    try {
        if (i_iIndex == 1) {
            m_blnIsOK = false;
            reject();
            return;
        }
        if (ServicePassword::Accepts(txtPassword->text())) {
            m_blnIsOK = true;
            accept();
            return;
        }
        TransferMessages::Show(this, QMessageBox::Warning, QString(),
                               QStringLiteral("Invalid Password!"));
        txtPassword->setFocus();
        txtPassword->setSelection(0, static_cast<int>(txtPassword->text().size()));
    } catch (const LumoError& e) {
        TransferMessages::Show(this, QMessageBox::NoIcon, QString::number(e.number()),
                               e.description());
    }
}
