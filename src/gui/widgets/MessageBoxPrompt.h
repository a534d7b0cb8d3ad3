#pragma once

#include "core/common/Prompt.h"

// The program's prompt: modal message boxes over the active window.
class MessageBoxPrompt : public Prompt {
public:
    void Show(Icon i_eIcon, const QString& i_sTitle, const QString& i_sText) override;
    bool AskRetry(const QString& i_sTitle, const QString& i_sText) override;
};
