#include "ctl/InterruptWatch.h"

#include <QSocketNotifier>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<bool> g_requested{false};
int g_pipe[2] = {-1, -1};

extern "C" void onSigint(int /*signal*/) {
    g_requested = true;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

} // namespace

InterruptWatch::InterruptWatch(QObject* i_pParent) : QObject(i_pParent) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    m_pNotifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &InterruptWatch::onPipe);
    struct sigaction action = {};
    action.sa_handler = onSigint;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
}

InterruptWatch::~InterruptWatch() {
    ::signal(SIGINT, SIG_DFL);
    delete m_pNotifier;
    for (int& fd : g_pipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

bool InterruptWatch::Requested() {
    return g_requested;
}

void InterruptWatch::onPipe() {
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    emit interrupted();
}
