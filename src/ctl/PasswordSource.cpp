#include "ctl/PasswordSource.h"

#include "ctl/TerminalEcho.h"

#include <QFile>
#include <cstdio>
#include <unistd.h>

namespace {

QString firstLine(const QByteArray& i_bText) {
    QByteArray line =
        i_bText.left(i_bText.indexOf('\n') < 0 ? i_bText.size() : i_bText.indexOf('\n'));
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return QString::fromLocal8Bit(line);
}

QString askWithoutEcho() {
    std::fputs("Enter Password: ", stderr);
    std::fflush(stderr);
    char buffer[256] = {};
    bool read = false;
    {
        const TerminalEcho echoOff;
        read = std::fgets(buffer, sizeof buffer, stdin) != nullptr;
    }
    std::fputc('\n', stderr);
    return read ? firstLine(QByteArray(buffer)) : QString();
}

} // namespace

namespace PasswordSource {

bool Read(const QString& i_sFile, QString& o_sPassword, QString& o_sError) {
    if (!i_sFile.isEmpty()) {
        QFile file(i_sFile);
        if (!file.open(QIODevice::ReadOnly)) {
            o_sError = QStringLiteral("%1: %2").arg(i_sFile, file.errorString());
            return false;
        }
        o_sPassword = firstLine(file.readAll());
        return true;
    }
    if (qEnvironmentVariableIsSet("LUMOQ4_SERVICE_PASSWORD")) {
        o_sPassword = qEnvironmentVariable("LUMOQ4_SERVICE_PASSWORD");
        return true;
    }
    if (::isatty(STDIN_FILENO) == 1) {
        o_sPassword = askWithoutEcho();
    }
    return true;
}

} // namespace PasswordSource
