#include "ctl/PasswordSource.h"

#include <QFile>
#include <cstdio>
#include <termios.h>
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
    termios saved = {};
    const bool echoOff = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (echoOff) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    char buffer[256] = {};
    const bool read = std::fgets(buffer, sizeof buffer, stdin) != nullptr;
    if (echoOff) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
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
