#include "ctl/InterruptWatch.h"

#include "core/protocol/modLumo.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> g_signal{0};

} // namespace

bool InterruptWatch::Requested() {
    return g_signal != 0;
}

int InterruptWatch::ExitStatus() {
    const int signal = g_signal;
    return 128 + (signal != 0 ? signal : SIGINT);
}

void InterruptWatch::Note(int i_iSignal) {
    int none = 0;
    g_signal.compare_exchange_strong(none, i_iSignal);
    modLumo::RequestStop();
}

void InterruptWatch::onWake() {
    modLumo::WakeWaits();
    emit interrupted();
}
