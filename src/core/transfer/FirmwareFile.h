#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The firmware image, read one 128-byte record at a time and never as a whole. Every failing
// step throws LumoError with the number and description that the technician is shown.
class FirmwareFile {
public:
    // Whether the path holds an image worth switching the display to its loader for: a
    // regular file that can be read and holds at least one byte. Throws when it is not (a
    // device such as /dev/null, a pipe or an empty file would leave the display with nothing).
    static void CheckImage(const QString& i_sPath);

    void Open(const QString& i_sPath);
    qint64 Size() const;

    // i_iLength bytes starting at record i_lRecord (0-based), so that a failed read can be
    // tried again at the same place.
    QByteArray ReadRecord(qint64 i_lRecord, int i_iLength);

    void Close();

private:
    [[noreturn]] static void throwOpenFailure(const QFile& i_file);

    QFile m_file;
};
