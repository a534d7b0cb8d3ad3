// Start-up of the program: time from process start to the main window shown, and the peak
// memory of that process, offscreen. The program starts itself as a child (--child) that builds
// the main window exactly as the utility does, shows it, and reports once the window is on
// screen; the parent measures the wall time and reads the child's peak resident size.
//   startup_bench [RUNS]

#include "gui/app/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

int child(int argc, char** argv) {
    QApplication app(argc, argv);
    frmMain window;
    window.show();
    QApplication::processEvents();
    const char done = 1;
    (void)::write(STDOUT_FILENO, &done, 1);
    return 0;
}

struct Run {
    double ms;
    double maxRssMiB;
};

Run runOnce(const char* self) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char arg0[] = "startup_bench";
    char arg1[] = "--child";
    char* args[] = {arg0, arg1, nullptr};
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, args, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    ::close(pipeFds[1]);
    char byte = 0;
    const ssize_t got = ::read(pipeFds[0], &byte, 1);
    const double shownMs = timer.nsecsElapsed() / 1e6;
    ::close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    if (got != 1) {
        std::fprintf(stderr, "the child did not show its window\n");
        std::exit(1);
    }
    return {shownMs, usage.ru_maxrss / 1024.0};
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) {
        return child(argc, argv);
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir config; // a first start, with an empty settings store each time
    ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);

    std::vector<double> times;
    double peak = 0;
    runOnce("/proc/self/exe"); // warm the file cache
    for (int i = 0; i < runs; ++i) {
        const Run r = runOnce("/proc/self/exe");
        times.push_back(r.ms);
        peak = std::max(peak, r.maxRssMiB);
    }
    std::sort(times.begin(), times.end());
    std::printf("| start-up to main window shown (median of %d, offscreen) | %.0f ms (max %.0f) | "
                "< 300 ms |\n",
                runs, times[times.size() / 2], times.back());
    std::printf("| peak memory of that process | %.1f MiB | < 80 MiB |\n", peak);
    return 0;
}
