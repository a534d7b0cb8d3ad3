#include "ctl/PasswordSource.h"

#include "ctl/ConsoleStreams.h"
#include "ctl/TerminalEcho.h"

#include <QFile>
#include <algorithm>
#include <cstdio>

namespace {

QString firstLine(const QByteArray& i_bText) {
    QByteArray line =
        i_bText.left(i_bText.indexOf('\n') < 0 ? i_bText.size() : i_bText.indexOf('\n'));
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return QString::fromLocal8Bit(line);
}

// The longest first line a password file may have.
constexpr qint64 kMostBytes = 1024;

// The first line of a regular file or a pipe, read no further than kMostBytes: a device such
// as /dev/zero or a huge file never fills the memory.
bool readFileLine(const QString& i_sFile, QString& o_sPassword, QString& o_sError) {
    if (ConsoleStreams::IsSpecialFile(i_sFile)) {
        o_sError = QStringLiteral("%1: not a regular file or a pipe").arg(i_sFile);
        return false;
    }
    QFile file(i_sFile);
    if (!file.open(QIODevice::ReadOnly)) {
        o_sError = QStringLiteral("%1: %2").arg(i_sFile, file.errorString());
        return false;
    }
    // One byte more than allowed tells a line that is too long from one that just fits.
    QByteArray line(kMostBytes + 2, '\0');
    const qint64 got = file.readLine(line.data(), line.size());
    line.resize(std::max<qint64>(0, got));
    if (line.size() > kMostBytes && !(line.size() == kMostBytes + 1 && line.endsWith('\n'))) {
        o_sError = QStringLiteral("%1: the first line is longer than 1 KiB").arg(i_sFile);
        return false;
    }
    o_sPassword = firstLine(line);
    return true;
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
        return readFileLine(i_sFile, o_sPassword, o_sError);
    }
    if (qEnvironmentVariableIsSet("LUMOQ4_SERVICE_PASSWORD")) {
        o_sPassword = qEnvironmentVariable("LUMOQ4_SERVICE_PASSWORD");
        return true;
    }
    if (ConsoleStreams::InputIsTerminal()) {
        o_sPassword = askWithoutEcho();
    }
    return true;
}

} // namespace PasswordSource
