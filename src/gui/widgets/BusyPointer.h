#pragma once

class QWidget;

// The busy state of a window while a command runs. The session processes window events while
// it waits for the display, so a second click can arrive in the middle of a command: the window
// refuses it while busy. Being busy and showing the hourglass go together; this object sets
// and clears both at once, so the window's pointer is never read back as a flag.
class BusyPointer {
public:
    explicit BusyPointer(QWidget& i_window);

    bool Busy() const { return m_blnBusy; }

    // Shows the hourglass and marks the window busy. False (and nothing changes) when it
    // already is.
    bool Begin();

    // Restores the default pointer and ends the busy state; nothing happens when not busy.
    void End();

private:
    QWidget& m_window;
    bool m_blnBusy = false;
};
