#include "gui/widgets/BusyPointer.h"

#include <QWidget>

BusyPointer::BusyPointer(QWidget& i_window) : m_window(i_window) {}

bool BusyPointer::Begin() {
    if (m_blnBusy) {
        return false;
    }
    m_blnBusy = true;
    m_window.setCursor(Qt::WaitCursor);
    return true;
}

void BusyPointer::End() {
    if (!m_blnBusy) {
        return;
    }
    m_blnBusy = false;
    m_window.unsetCursor();
}
