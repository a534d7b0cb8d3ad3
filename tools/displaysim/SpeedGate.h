#pragma once

#include <QByteArray>
#include <vector>

class PtyPair;

// Which speed each piece of the program's bytes was written at. A pseudo-terminal carries no
// speed, but its slave side keeps the one the program set, and the serial library puts the
// port's previous settings back when it closes, at once: judged when they are read, the bytes
// of a program that writes and closes would be judged by the speed of the closed port.
//
// So the master is read in packet mode (TIOCPKT) with EXTPROC on the slave: every change of
// the slave's settings comes as a status packet (TIOCPKT_IOCTL). The kernel hands it out ahead
// of any data still unread and merges changes made meanwhile, so the settings are asked afresh
// at each packet. The line rests at a speed no program asks for (50 baud), which a closed port
// gets back and an opening port keeps until it sets its own speed; while it rests, the slave's
// output is held (tcflow TCOOFF): the program's first byte can only pass once the simulator has
// seen the speed it is written at, however late the simulator reads. Bytes read after the line
// went back to rest were written before that, at the program's last speed. (A program that
// closes and opens again at another speed before the simulator reads the closing can still
// have its last bytes judged at the new speed.)
class SpeedGate {
public:
    struct Piece {
        QByteArray bytes;
        int speed = 0; // baud; 0 while no speed of the program has been seen
    };

    // Sets the line to rest and packet mode; i_blnHold: the program's output is held while the
    // line rests (only needed where speeds are judged).
    SpeedGate(PtyPair& io_pty, bool i_blnHold);

    // Reads what waits on the master side, without blocking: the program's bytes in pieces,
    // each with the speed it was written at.
    std::vector<Piece> Read();

    // The speed the program's port is set to now; 0 while the line rests.
    int ProgramSpeed() const;

private:
    void settingsChanged();

    PtyPair& m_pty;
    bool m_blnHold;
    int m_iSpeed = 0;
};
