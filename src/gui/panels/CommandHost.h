#pragma once

#include <QString>
#include <functional>

class CLumo;

// What a tab page needs from the main window: the session, the command envelope, the state of
// start-up and the display type. The pages know nothing of each other: what one shows of
// another reaches it through the main window, by signals.
class CommandHost {
public:
    virtual ~CommandHost() = default;

    // The session, created on first use.
    virtual CLumo& Lumo() = 0;

    // True while a command runs (the hourglass shows).
    virtual bool Busy() const = 0;

    // Runs i_command inside the command envelope: refused (false) while another command runs
    // or while a firmware transfer runs (the status box then says so, and the port is not
    // touched); otherwise hourglass and locked tabs for its length and, with i_blnStatus, the
    // status box cleared first and filled with the outcome afterwards.
    virtual bool RunCommand(bool i_blnStatus, const std::function<int()>& i_command) = 0;

    // Runs the command of a list's selection: as the lists have no busy guard, only refused
    // (false) while a firmware transfer runs.
    virtual bool RunListCommand(const std::function<int()>& i_command) = 0;

    // Puts a text of the command's own into the status box, with its tool tip.
    virtual void ShowStatusText(const QString& i_sText, const QString& i_sToolTip) = 0;

    // Tells the technician why a command was not sent.
    virtual void Refuse(const QString& i_sMessage) = 0;

    virtual bool Loading() const = 0;
    virtual qint16 DisplayTypeCode() const = 0;
};
