#include "core/transfer/FirmwareFile.h"

#include "core/common/LumoError.h"
#include "core/transfer/XModemBlock.h"

#include <QDir>
#include <QFileInfo>

void FirmwareFile::throwOpenFailure(const QFile& i_file) {
    const QString path = QDir::toNativeSeparators(i_file.fileName());
    const QFileInfo info(i_file.fileName());
    if (i_file.fileName().isEmpty() || !info.exists()) {
        throw LumoError(LumoErrorNumber::FileNotFound,
                        QStringLiteral("File not found: %1").arg(path));
    }
    if (info.isDir()) {
        throw LumoError(LumoErrorNumber::FileAccess,
                        QStringLiteral("Path/File access error: %1 is a folder").arg(path));
    }
    throw LumoError(
        LumoErrorNumber::FileAccess,
        QStringLiteral("Path/File access error: %1 (%2)").arg(path, i_file.errorString()));
}

void FirmwareFile::CheckImage(const QString& i_sPath) {
    QFile file(i_sPath);
    if (i_sPath.isEmpty() || QFileInfo(i_sPath).isDir() || !file.open(QIODevice::ReadOnly)) {
        throwOpenFailure(file);
    }
    file.close();
    const QFileInfo info(i_sPath);
    const QString path = QDir::toNativeSeparators(i_sPath);
    if (!info.isFile()) {
        throw LumoError(LumoErrorNumber::FileAccess,
                        QStringLiteral("Path/File access error: %1 is not a regular file, not a "
                                       "firmware image")
                            .arg(path));
    }
    if (info.size() == 0) {
        throw LumoError(
            LumoErrorNumber::FileAccess,
            QStringLiteral("Path/File access error: %1 is empty, not a firmware image").arg(path));
    }
}

void FirmwareFile::Open(const QString& i_sPath) {
    Close();
    m_file.setFileName(i_sPath);
    // Unbuffered: each record comes from the file when its block is due, so a file that
    // changes or goes away mid-transfer is noticed instead of being served from a read-ahead.
    if (i_sPath.isEmpty() || QFileInfo(i_sPath).isDir() ||
        !m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        throwOpenFailure(m_file);
    }
}

qint64 FirmwareFile::Size() const {
    return m_file.size();
}

QByteArray FirmwareFile::ReadRecord(qint64 i_lRecord, int i_iLength) {
    const qint64 at = i_lRecord * XModemBlock::DataSize;
    if (!m_file.isOpen() || !m_file.seek(at)) {
        throw LumoError(LumoErrorNumber::FileAccess,
                        QStringLiteral("Path/File access error: cannot read %1")
                            .arg(QDir::toNativeSeparators(m_file.fileName())));
    }
    QByteArray record = m_file.read(i_iLength);
    if (record.size() != i_iLength) {
        throw LumoError(LumoErrorNumber::FileAccess,
                        QStringLiteral("Path/File access error: %1 ended at byte %2")
                            .arg(QDir::toNativeSeparators(m_file.fileName()))
                            .arg(at + std::max<qsizetype>(0, record.size())));
    }
    return record;
}

void FirmwareFile::Close() {
    if (m_file.isOpen()) {
        m_file.close();
    }
}
