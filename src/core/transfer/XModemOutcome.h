#pragma once

#include <QString>
#include <QtGlobal>

// How the last run of the file sender ended, for the firmware dialog to report.
struct XModemOutcome {
    enum class End {
        NotStarted,         // no run since the program started, or armed and not yet begun
        Running,            // the engine is inside its run
        Complete,           // every block was accepted and the end sequence was written
        NoAnswer,           // a block got no answer in time
        CancelledByDisplay, // the display answered a block with CAN
        StoppedByUser,      // StopSendFile, or the program is ending
        NoStartRequest,     // the display never asked for the file
        Abandoned,          // a file or port step failed and the technician chose Cancel
    };

    End end = End::NotStarted;
    qint64 block = 0;  // the block being sent when the run ended (1-based; 0 before any block)
    qint64 blocks = 0; // the number of blocks of the file, the padded one included
    QString failure;   // for Abandoned: the description of the step that failed
    // The check type the display's start requests asked for when it was not the one being
    // sent (0 checksum, 1 CRC); -1 when it asked for nothing else.
    qint32 askedCheckSumType = -1;

    // True once the run is over, whichever way.
    bool Finished() const;

    // True for a run that ended before every block was accepted.
    bool EndedEarly() const;

    // What the technician is told, for example "Firmware Update OK!".
    QString Text() const;

private:
    // Before the first block, when the display asked for the other check type: which list
    // entry to choose, as a sentence with a leading space; empty otherwise.
    QString otherCheck() const;
};
