#include "PtyDisplay.h"

#include "LineSpeed.h"

#include <QSocketNotifier>
#include <QTimer>

PtyDisplay::PtyDisplay(const PtyDisplayOptions& i_options, QObject* i_pParent)
    : QObject(i_pParent), m_options(i_options), m_emulator(i_options.emulator),
      m_gate(m_pty, i_options.lineSpeed > 0), m_iLineSpeed(i_options.lineSpeed),
      m_random(i_options.noiseSeed) {
    if (!m_pty.IsOpen()) {
        return;
    }
    m_pNotifier = new QSocketNotifier(m_pty.MasterFd(), QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &PtyDisplay::onReadable);
    m_pPollTimer = new QTimer(this);
    m_pPollTimer->setInterval(std::max(1, m_options.pollIntervalMs));
    connect(m_pPollTimer, &QTimer::timeout, this, &PtyDisplay::onPoll);
    m_pPollTimer->start();
}

PtyDisplay::~PtyDisplay() {
    delete m_pNotifier;
    m_pNotifier = nullptr;
}

void PtyDisplay::HangUp() {
    if (m_blnHungUp) {
        return;
    }
    m_blnHungUp = true;
    // This may run inside the notifier's own signal: retire it from the event loop.
    if (m_pNotifier != nullptr) {
        m_pNotifier->setEnabled(false);
        m_pNotifier->deleteLater();
        m_pNotifier = nullptr;
    }
    if (m_pPollTimer != nullptr) {
        m_pPollTimer->stop();
    }
    m_pty.Close();
    emit LineClosed();
}

void PtyDisplay::onReadable() {
    if (m_options.readDelayMs <= 0) {
        readLine();
        return;
    }
    m_pNotifier->setEnabled(false);
    QTimer::singleShot(m_options.readDelayMs, this, [this] {
        if (m_pNotifier != nullptr) {
            m_pNotifier->setEnabled(true);
        }
        readLine();
    });
}

void PtyDisplay::readLine() {
    for (SpeedGate::Piece& piece : m_gate.Read()) {
        QByteArray& chunk = piece.bytes;
        bool hangUpNow = false;
        if (m_options.hangupAfter > 0) {
            const qint64 room = m_options.hangupAfter - m_bReceived.size();
            if (room <= chunk.size()) {
                chunk.truncate(std::max<qint64>(0, room));
                hangUpNow = true;
            }
        }
        m_bReceived += chunk;
        const quint64 before = m_emulator.Revision();
        const int baudChanges = m_emulator.State().baudChanges;
        const QByteArray reply =
            m_emulator.Receive(speedsDiffer(piece.speed) ? LineSpeed::Garble(chunk) : chunk);
        emit BytesReceived(chunk);
        if (m_emulator.Revision() != before) {
            emit ScreenChanged();
        }
        if (hangUpNow) {
            HangUp();
            return;
        }
        const bool newSpeed = m_iLineSpeed > 0 && m_emulator.State().baudChanges != baudChanges;
        answer(reply, newSpeed ? LineSpeed::OfBaudCode(m_emulator.State().baudCode) : 0);
    }
}

int PtyDisplay::ProgramSpeed() const {
    return m_gate.ProgramSpeed();
}

bool PtyDisplay::speedsDiffer() const {
    return speedsDiffer(ProgramSpeed());
}

bool PtyDisplay::speedsDiffer(int i_iProgramSpeed) const {
    return m_iLineSpeed > 0 && i_iProgramSpeed > 0 && i_iProgramSpeed != m_iLineSpeed;
}

void PtyDisplay::changeSpeed(int i_iNewSpeed) {
    if (i_iNewSpeed > 0 && i_iNewSpeed != m_iLineSpeed) {
        m_iLineSpeed = i_iNewSpeed;
        emit ScreenChanged();
    }
}

void PtyDisplay::onPoll() {
    const quint64 before = m_emulator.Revision();
    const QByteArray bytes = m_emulator.Poll();
    if (m_emulator.Revision() != before) {
        emit ScreenChanged();
    }
    answer(bytes);
}

void PtyDisplay::answer(const QByteArray& i_bBytes, int i_iNewSpeed) {
    if (i_bBytes.isEmpty() || m_options.silent) {
        changeSpeed(i_iNewSpeed);
        return;
    }
    // The acknowledgement of a new speed still goes out at the old one.
    if (m_options.delayMs > 0) {
        QTimer::singleShot(m_options.delayMs, this, [this, i_bBytes, i_iNewSpeed] {
            writeNow(i_bBytes);
            changeSpeed(i_iNewSpeed);
        });
    } else {
        writeNow(i_bBytes);
        changeSpeed(i_iNewSpeed);
    }
    if (m_options.noise) {
        scheduleNoise();
    }
}

void PtyDisplay::scheduleNoise() {
    std::uniform_int_distribution<int> count(1, 4);
    std::uniform_int_distribution<int> value(0, 255);
    QByteArray noise;
    for (int i = count(m_random); i > 0; --i) {
        noise.append(static_cast<char>(value(m_random)));
    }
    QTimer::singleShot(m_options.delayMs + m_options.noiseDelayMs, this,
                       [this, noise] { writeNow(noise); });
}

void PtyDisplay::writeNow(const QByteArray& i_bBytes) {
    // A program that never reads fills the line; give up after about two seconds.
    const QByteArray out = speedsDiffer() ? LineSpeed::Garble(i_bBytes) : i_bBytes;
    const qsizetype done = m_pty.Write(out, 40);
    if (done > 0) {
        const QByteArray sent = out.left(done);
        m_bSent += sent;
        emit BytesSent(sent);
    }
}
