#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

// Plays the technician in front of modal message boxes: every 20 ms it looks for the active
// modal QMessageBox, notes its title, icon and text, and presses OK. A test can look at other
// modal windows (the file dialog) through onOtherModal, and at the world on every look
// through onLook.
class ModalWatcher : public QObject {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    ModalWatcher();

    std::vector<Box> boxes;
    std::function<void(const Box&)> onBox;      // before OK is pressed
    std::function<void(QWidget*)> onOtherModal; // a modal window that is not a message box
    std::function<void()> onLook;

    QStringList Texts() const;

private:
    QTimer m_timer;
};
