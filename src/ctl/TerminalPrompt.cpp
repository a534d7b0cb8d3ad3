#include "ctl/TerminalPrompt.h"

#include "core/common/AppInfo.h"
#include "core/common/ControlText.h"
#include "ctl/ConsoleStreams.h"

#include <cstdio>

namespace {

// One line: the program's name, the title when it tells something, the text. A title that is
// an error number or the window's name means nothing to the reader of a shell's output.
QString line(const QString& i_sTitle, const QString& i_sText) {
    bool number = false;
    i_sTitle.toLongLong(&number);
    const bool tells = !i_sTitle.isEmpty() && !number && i_sTitle != AppInfo::Name();
    return QStringLiteral("lumoq4ctl: ") +
           ControlText::Escaped(tells ? i_sTitle + QStringLiteral(": ") + i_sText : i_sText) +
           QLatin1Char('\n');
}

} // namespace

bool TerminalPrompt::Interactive() {
    return ConsoleStreams::InputIsTerminal() && ConsoleStreams::ErrorIsTerminal();
}

void TerminalPrompt::Show(Icon /*i_eIcon*/, const QString& i_sTitle, const QString& i_sText) {
    std::fputs(line(i_sTitle, i_sText).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

bool TerminalPrompt::AskRetry(const QString& i_sTitle, const QString& i_sText) {
    // Without anyone to ask the answer is Cancel, and the run's own failure line says what
    // went wrong: nothing is written here.
    if (!Interactive()) {
        return false;
    }
    Show(Icon::Exclamation, i_sTitle, i_sText);
    std::fputs("Retry or Cancel? [r/C] ", stderr);
    std::fflush(stderr);
    char answer[64] = {};
    if (std::fgets(answer, sizeof answer, stdin) == nullptr) {
        return false;
    }
    return answer[0] == 'r' || answer[0] == 'R';
}
