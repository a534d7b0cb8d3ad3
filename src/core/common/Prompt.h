#pragma once

#include <QString>

// How code without widgets asks the user something. The application installs one built on
// message boxes; tests install a recording one. Without any, messages go to the log and
// questions are answered with Cancel, so that nothing waits for a user who is not there.
class Prompt {
public:
    enum class Icon { None, Information, Exclamation, Error };

    virtual ~Prompt() = default;

    // A message box with an OK button; returns when the user closes it.
    virtual void Show(Icon i_eIcon, const QString& i_sTitle, const QString& i_sText) = 0;

    // A message box with Retry and Cancel; true for Retry.
    virtual bool AskRetry(const QString& i_sTitle, const QString& i_sText) = 0;

    // The prompt in force.
    static Prompt& Current();

    // Installs i_pPrompt (not owned); nullptr restores the logging default.
    static void Install(Prompt* i_pPrompt);
};
