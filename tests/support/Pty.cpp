#include "support/Pty.h"

Pty::~Pty() {
    m_pNotifier.reset();
}

void Pty::OnData(std::function<void(const QByteArray&)> i_handler) {
    m_handler = std::move(i_handler);
    if (!m_pNotifier) {
        m_pNotifier = std::make_unique<QSocketNotifier>(MasterFd(), QSocketNotifier::Read);
        QObject::connect(m_pNotifier.get(), &QSocketNotifier::activated, [this] {
            const QByteArray chunk = ReadAvailable();
            if (!chunk.isEmpty()) {
                m_bReceived += chunk;
                if (m_handler) {
                    m_handler(chunk);
                }
            }
        });
    }
}

void Pty::HangUp() {
    m_pNotifier.reset();
    Close();
}
