#include "core/ports/LockFile.h"

#include "core/ports/DeviceSource.h"
#include "core/ports/NativeDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

#include <cstring>

namespace LockFile {
namespace {

QString lockName(const QString& i_sPath) {
    QString name = i_sPath;
    if (name.startsWith(QLatin1String("/dev/"))) {
        name.remove(0, 5);
    }
    return QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

// A program name as it may be shown: a short plain word, nothing else.
QString plainName(const QByteArray& i_bWord) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._+-]{1,32}$"));
    const QString name = QString::fromLatin1(i_bWord.trimmed());
    return plain.match(name).hasMatch() ? name : QString();
}

// The name the system gives the running process (Linux), empty elsewhere.
QString processName(qint64 i_lPid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(i_lPid));
    return comm.open(QIODevice::ReadOnly) ? plainName(comm.read(64)) : QString();
}

Holder holderOf(const QString& i_sName) {
    const QString file = lockName(i_sName);
    for (const QString& folder : DeviceSource::Current().LockFolders()) {
        QFile lock(QDir(folder).filePath(file));
        if (!lock.open(QIODevice::ReadOnly)) {
            continue;
        }
        Holder holder = Read(lock);
        if (NativeDevice::ProcessAlive(holder.pid)) {
            if (holder.name.isEmpty()) {
                holder.name = processName(holder.pid);
            }
            return holder;
        }
    }
    return {};
}

} // namespace

QString Holder::Text() const {
    return QStringLiteral("%1, process %2")
        .arg(name.isEmpty() ? QStringLiteral("another program") : name)
        .arg(pid);
}

Holder Read(QFile& io_file) {
    const QByteArray content = io_file.read(128);
    const QList<QByteArray> lines = content.split('\n');
    const QList<QByteArray> words = lines.value(0).simplified().split(' ');
    Holder holder;
    bool ok = false;
    holder.pid = words.value(0).toLongLong(&ok);
    if (ok) {
        holder.name = plainName(words.size() > 1 ? words[1] : lines.value(1));
        return holder;
    }
    holder.pid = 0;
    if (content.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, content.constData(), sizeof binary);
        holder.pid = binary;
    }
    return holder;
}

Holder Of(const QString& i_sPath, const QString& i_sAlias) {
    const QString real = QFileInfo(i_sPath).canonicalFilePath();
    for (const QString& name : {i_sPath, real, i_sAlias}) {
        if (!name.isEmpty()) {
            Holder holder = holderOf(name);
            if (holder.pid != 0) {
                return holder;
            }
        }
    }
    return {};
}

} // namespace LockFile
