#include "ctl/TerminalPrompt.h"

#include <cstdio>
#include <unistd.h>

namespace {

QString titled(const QString& i_sTitle, const QString& i_sText) {
    return i_sTitle.isEmpty() ? i_sText : i_sTitle + QStringLiteral(": ") + i_sText;
}

} // namespace

bool TerminalPrompt::Interactive() {
    return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1;
}

void TerminalPrompt::Show(Icon /*i_eIcon*/, const QString& i_sTitle, const QString& i_sText) {
    std::fprintf(stderr, "\nlumoq4ctl: %s\n", titled(i_sTitle, i_sText).toLocal8Bit().constData());
}

bool TerminalPrompt::AskRetry(const QString& i_sTitle, const QString& i_sText) {
    Show(Icon::Exclamation, i_sTitle, i_sText);
    if (!Interactive()) {
        std::fputs("lumoq4ctl: answered Cancel (no terminal to ask)\n", stderr);
        return false;
    }
    std::fputs("Retry or Cancel? [r/C] ", stderr);
    std::fflush(stderr);
    char answer[64] = {};
    if (std::fgets(answer, sizeof answer, stdin) == nullptr) {
        return false;
    }
    return answer[0] == 'r' || answer[0] == 'R';
}
