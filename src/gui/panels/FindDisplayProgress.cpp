#include "gui/panels/FindDisplayProgress.h"

#include <QProgressDialog>

FindDisplayProgress::FindDisplayProgress(QWidget* i_pWindow)
    : m_pDialog(std::make_unique<QProgressDialog>(i_pWindow)) {
    m_pDialog->setObjectName(QStringLiteral("dlgFindDisplay"));
    m_pDialog->setWindowTitle(QObject::tr("Find Display"));
    m_pDialog->setLabelText(QObject::tr("Looking for the display..."));
    m_pDialog->setCancelButtonText(QObject::tr("Cancel"));
    m_pDialog->setWindowModality(Qt::WindowModal);
    m_pDialog->setAutoClose(false);
    m_pDialog->setAutoReset(false);
    m_pDialog->setMinimumDuration(0);
    m_pDialog->setMinimumWidth(420);
    m_pDialog->setValue(0);
    m_pDialog->show();
}

FindDisplayProgress::~FindDisplayProgress() = default;

void FindDisplayProgress::Trying(const ScanStep& i_step) {
    m_pDialog->setMaximum(i_step.count);
    m_pDialog->setLabelText(QObject::tr("Looking for the display on %1\nat %2 baud, %3 parity "
                                        "(pass %4 of 2)")
                                .arg(i_step.path, i_step.setting.baudRate, i_step.setting.parity)
                                .arg(i_step.pass));
    m_pDialog->setValue(i_step.index);
}

bool FindDisplayProgress::Cancelled() {
    return m_pDialog->wasCanceled();
}
