#include "core/ports/DeviceState.h"

#include "core/ports/DeviceSource.h"
#include "core/ports/LockFile.h"
#include "core/ports/NativeDevice.h"

#include <QFile>
#include <QFileInfo>

namespace DeviceState {
namespace {

QString deviceName(const QString& i_sPath) {
    const QString real = QFileInfo(i_sPath).canonicalFilePath();
    return QFileInfo(real.isEmpty() ? i_sPath : real).fileName();
}

} // namespace

QStringList ConsoleNames() {
    QStringList names;
    for (const QString& file : DeviceSource::Current().ConsoleFiles()) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            continue;
        }
        const bool onePerLine = file.endsWith(QLatin1String("consoles"));
        const QString text = QString::fromLocal8Bit(f.readAll());
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (qsizetype i = 0; i < words.size() && (i == 0 || !onePerLine); ++i) {
                if (!names.contains(words[i])) {
                    names << words[i];
                }
            }
        }
    }
    return names;
}

SerialDevice::State Of(const QString& i_sPath, const QString& i_sAlias, qint64& o_lPid) {
    o_lPid = 0;
    if (!NativeDevice::Present(i_sPath)) {
        return SerialDevice::State::Absent;
    }
    if (ConsoleNames().contains(deviceName(i_sPath))) {
        return SerialDevice::State::Console;
    }
    if (const qint64 pid = LockFile::Of(i_sPath, i_sAlias).pid) {
        o_lPid = pid;
        return SerialDevice::State::Busy;
    }
    if (!NativeDevice::ReadWritable(i_sPath)) {
        return SerialDevice::State::NoPermission;
    }
    return SerialDevice::State::Free;
}

bool IsPseudoTerminal(const QString& i_sPath) {
    return NativeDevice::IsPseudoTerminal(i_sPath);
}

bool IsTerminalDevice(const QString& i_sPath, QString& o_sWhy) {
    return NativeDevice::IsTerminalDevice(i_sPath, o_sWhy);
}

} // namespace DeviceState
