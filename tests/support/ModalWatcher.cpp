#include "support/ModalWatcher.h"

#include <QAbstractButton>
#include <QApplication>

ModalWatcher::ModalWatcher() {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (onLook) {
            onLook();
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (!box->isVisible()) {
                return;
            }
            const Box seen{box->windowTitle(), box->text(), box->icon()};
            boxes.push_back(seen);
            if (onBox) {
                onBox(seen);
            }
            box->button(QMessageBox::Ok)->click();
        } else if (modal != nullptr && onOtherModal) {
            onOtherModal(modal);
        }
    });
    m_timer.start();
}

QStringList ModalWatcher::Texts() const {
    QStringList out;
    for (const Box& b : boxes) {
        out << b.text;
    }
    return out;
}
