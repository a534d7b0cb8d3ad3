#pragma once

// One firmware transfer to a peer on a pseudo-terminal that asks with "C" and acknowledges
// every block and the EOT at once, timed. Shared by the benchmarks that time the transfer.

#include <QString>
#include <QtGlobal>

class CLumo;
class PtyPair;
class QTemporaryDir;

struct FirmwareRun {
    int blocks = 0;          // blocks the peer acknowledged
    qint64 firstByteMs = -1; // from the start to the first byte of the first block
    qint64 eotMs = -1;       // from the start to the EOT
    qint64 finishMs = 0;     // from the start to the finish flag
    double cpuSeconds = 0;
    bool complete = false; // every block acknowledged and the run reported complete
    QString outcome;

    // From the first block byte to the finish flag: the part the program paces.
    double SendingMs() const { return static_cast<double>(finishMs - firstByteMs); }
};

namespace FirmwareBench {

constexpr int kFileSize = 16 * 1024;

// A 16 KiB image in i_dir; its path.
QString MakeImage(const QTemporaryDir& i_dir);

// The pacing floor of the transfer: 120 ms a block and the 0.8 s end sequence.
double FloorMs();
int Blocks();

// Sends the image with XModem-CRC over i_lumo's open port; i_line's master side is the peer.
FirmwareRun Run(CLumo& i_lumo, PtyPair& i_line, const QString& i_sImage);

} // namespace FirmwareBench
