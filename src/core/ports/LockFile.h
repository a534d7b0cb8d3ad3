#pragma once

#include <QString>

class QFile;

// The lock files serial programs leave in the lock folders: LCK..ttyUSB0 for /dev/ttyUSB0,
// LCK..pts_3 for /dev/pts/3. They come in several formats, all read here: the FHS one (the
// process id as "%10d\n"), minicom's and lockdev's ("pid name user" on one line), the serial
// library's (the process id, then the program's name on the next line) and, from very old
// programs, the process id as four binary bytes. The one reader for discovery's "busy" state
// and for the check before a port is opened.
namespace LockFile {

// The living process that holds a lock, or pid 0.
struct Holder {
    qint64 pid = 0;
    QString name; // "minicom"; empty when neither the file nor the process tells

    // "minicom, process 4242"; "another program, process 4242" when the name is unknown.
    QString Text() const;
};

// The living holder of a lock on the device at i_sPath, whatever name reaches it: the lock
// named after the path itself, after the device a link leads to, and after i_sAlias (may be
// empty). A lock whose process has ended does not count.
Holder Of(const QString& i_sPath, const QString& i_sAlias);

// The process id and name one lock file names; its content is untrusted.
Holder Read(QFile& io_file);

} // namespace LockFile
