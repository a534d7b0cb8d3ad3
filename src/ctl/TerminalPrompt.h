#pragma once

#include "core/common/Prompt.h"

// The questions of the core asked on the terminal: a message goes to standard error as one
// line; Retry or Cancel is asked when standard input and standard error are a terminal, and
// answered Cancel without a word otherwise, so that a run without a user never waits and its
// failure stays the one line of the report.
class TerminalPrompt : public Prompt {
public:
    void Show(Icon i_eIcon, const QString& i_sTitle, const QString& i_sText) override;
    bool AskRetry(const QString& i_sTitle, const QString& i_sText) override;

    // Both ends are a terminal: somebody can answer.
    static bool Interactive();
};
