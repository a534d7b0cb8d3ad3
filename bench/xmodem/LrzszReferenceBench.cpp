// A reference for the firmware transfer figure: lrzsz sx sends the same 16 KiB file to lrzsz rx,
// XModem-CRC with 128-byte blocks, each program on the slave side of its own raw pseudo-terminal,
// with this program relaying bytes between the two master sides. Neither program paces its
// blocks, so the figure shows what the line itself costs; the difference to our sender is its
// pacing. Prints figures; never fails on time.
#include "pty/PtyPair.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFileSize = 16 * 1024;
constexpr int kBlockBytes = 3 + 128 + 2;
constexpr int kRuns = 3;
constexpr int kTimeoutMs = 60000;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point i_start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - i_start).count();
}

// Starts a program with the pty slave as its standard input and output, in i_sFolder.
pid_t Spawn(const std::vector<std::string>& i_args, int i_iSlave, const std::string& i_sFolder) {
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    ::setsid();
    ::dup2(i_iSlave, STDIN_FILENO);
    ::dup2(i_iSlave, STDOUT_FILENO);
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
        ::dup2(devNull, STDERR_FILENO);
    }
    if (::chdir(i_sFolder.c_str()) != 0) {
        ::_exit(126);
    }
    std::vector<char*> argv;
    for (const std::string& arg : i_args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

// Copies what is waiting on i_from's master side to i_to's, all of it; returns the bytes copied.
QByteArray Relay(PtyPair& i_from, PtyPair& i_to) {
    const QByteArray moved = i_from.ReadAvailable();
    i_to.Write(moved);
    return moved;
}

bool WriteFile(const std::string& i_sPath) {
    std::FILE* file = std::fopen(i_sPath.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    for (int i = 0; i < kFileSize; ++i) {
        std::fputc(i % 253, file);
    }
    return std::fclose(file) == 0;
}

std::string ReadFile(const std::string& i_sPath) {
    std::ifstream file(i_sPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Exited(pid_t i_pid, int* o_iStatus) {
    return ::waitpid(i_pid, o_iStatus, WNOHANG) == i_pid;
}

// One transfer. Watches the sender's stream so that it can tell the first block byte and the EOT
// apart from the data; blocks are whole-length, so EOT is only looked for between blocks.
struct RunFigures {
    double blocksMs = 0; // first block byte to EOT
    double rxDoneMs = 0; // start to rx's exit
};

bool RunOnce(int i_iRun, const std::string& i_sFolder, RunFigures* o_figures) {
    PtyPair senderLine;
    PtyPair receiverLine;
    if (!senderLine.IsOpen() || !receiverLine.IsOpen()) {
        std::perror("openpty");
        return false;
    }
    const std::string received = "received-" + std::to_string(i_iRun) + ".bin";
    const Clock::time_point start = Clock::now();
    const pid_t rx = Spawn({"rx", "-q", "-b", "-c", received}, receiverLine.SlaveFd(), i_sFolder);
    const pid_t sx = Spawn({"sx", "-q", "-b", "image.bin"}, senderLine.SlaveFd(), i_sFolder);

    double firstBlockMs = -1;
    double eotMs = -1;
    double sxEndMs = -1;
    double rxEndMs = -1;
    int sxStatus = 0;
    int rxStatus = 0;
    int inBlock = 0;
    bool ackAfterEot = false;
    bool ackGivenByRelay = false;
    while ((sxEndMs < 0 || rxEndMs < 0) && MillisecondsSince(start) < kTimeoutMs) {
        pollfd fds[2] = {{senderLine.MasterFd(), POLLIN, 0}, {receiverLine.MasterFd(), POLLIN, 0}};
        ::poll(fds, 2, 20);
        if ((fds[0].revents & POLLIN) != 0) {
            for (const char c : Relay(senderLine, receiverLine)) {
                if (inBlock > 0) {
                    --inBlock;
                } else if (c == '\x01') {
                    if (firstBlockMs < 0) {
                        firstBlockMs = MillisecondsSince(start);
                    }
                    inBlock = kBlockBytes - 1;
                } else if (c == '\x04' && eotMs < 0) {
                    eotMs = MillisecondsSince(start);
                }
            }
        }
        if ((fds[1].revents & POLLIN) != 0) {
            const QByteArray answers = Relay(receiverLine, senderLine);
            ackAfterEot = ackAfterEot || (eotMs >= 0 && answers.contains('\x06'));
        }
        if (sxEndMs < 0 && Exited(sx, &sxStatus)) {
            sxEndMs = MillisecondsSince(start);
        }
        if (rxEndMs < 0 && Exited(rx, &rxStatus)) {
            rxEndMs = MillisecondsSince(start);
            // Over a pty, rx's ACK of the EOT is often lost although rx ends well (it seems to
            // flush its line on the way out), and sx would wait for it in vain. The relay gives
            // that ACK instead.
            if (!ackAfterEot && eotMs >= 0 && WIFEXITED(rxStatus) && WEXITSTATUS(rxStatus) == 0) {
                ackGivenByRelay = senderLine.Write(QByteArray(1, '\x06')) == 1;
            }
        }
    }
    // a program still running after the time-out is stopped; an ended one is already reaped
    if (sxEndMs < 0) {
        ::kill(sx, SIGKILL);
        ::waitpid(sx, &sxStatus, 0);
    }
    if (rxEndMs < 0) {
        ::kill(rx, SIGKILL);
        ::waitpid(rx, &rxStatus, 0);
    }
    senderLine.Close();
    receiverLine.Close();

    const bool complete = sxEndMs >= 0 && rxEndMs >= 0 && WIFEXITED(sxStatus) &&
                          WEXITSTATUS(sxStatus) == 0 && WIFEXITED(rxStatus) &&
                          WEXITSTATUS(rxStatus) == 0;
    const std::string got = ReadFile(i_sFolder + "/" + received);
    const bool same = got == ReadFile(i_sFolder + "/image.bin");
    std::printf("reference run %d: %s, %zu bytes received, %s\n", i_iRun,
                complete ? "complete" : "did not complete", got.size(),
                same ? "equal to the file sent" : "NOT equal to the file sent");
    if (!complete || !same || firstBlockMs < 0 || eotMs < 0) {
        std::printf("  sx %s %d after %.0f ms, rx %s %d after %.0f ms\n",
                    WIFEXITED(sxStatus) ? "exit" : "signal",
                    WIFEXITED(sxStatus) ? WEXITSTATUS(sxStatus) : WTERMSIG(sxStatus), sxEndMs,
                    WIFEXITED(rxStatus) ? "exit" : "signal",
                    WIFEXITED(rxStatus) ? WEXITSTATUS(rxStatus) : WTERMSIG(rxStatus), rxEndMs);
        return false;
    }
    const int blocks = (kFileSize + 127) / 128;
    std::printf("  first block byte to EOT: %.1f ms (%.2f ms per block)\n", eotMs - firstBlockMs,
                (eotMs - firstBlockMs) / blocks);
    std::printf(
        "  start to rx done: %.0f ms (rx waits for silence after EOT), to sx done: %.0f ms%s\n",
        rxEndMs, sxEndMs,
        ackGivenByRelay ? " (rx's last ACK was flushed away; the relay gave it)" : "");
    o_figures->blocksMs = eotMs - firstBlockMs;
    o_figures->rxDoneMs = rxEndMs;
    return true;
}

} // namespace

int main() {
    if (std::system("command -v sx > /dev/null && command -v rx > /dev/null") != 0) {
        std::printf("lrzsz reference: sx and rx are not installed (Debian package lrzsz)\n");
        return 1;
    }
    char folderTemplate[] = "/tmp/lumoq4-lrzsz-XXXXXX";
    const char* folder = ::mkdtemp(folderTemplate);
    if (folder == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string work = folder;
    if (!WriteFile(work + "/image.bin")) {
        std::perror("image.bin");
        return 1;
    }
    std::printf("lrzsz sx to rx reference, XModem-CRC, %d bytes, relayed between two ptys\n",
                kFileSize);
    int failures = 0;
    std::vector<double> blocksMs;
    std::vector<double> rxDoneMs;
    for (int run = 1; run <= kRuns; ++run) {
        RunFigures figures;
        if (RunOnce(run, work, &figures)) {
            blocksMs.push_back(figures.blocksMs);
            rxDoneMs.push_back(figures.rxDoneMs);
        } else {
            ++failures;
        }
    }
    if (!blocksMs.empty()) {
        std::sort(blocksMs.begin(), blocksMs.end());
        std::sort(rxDoneMs.begin(), rxDoneMs.end());
        std::printf("| reference: the same image from lrzsz sx to rx over ptys, median of %zu | "
                    "blocks in %.1f ms, rx done %.2f s after start (1 s of it rx's wait for "
                    "silence after EOT)%s | none (unpaced) |\n",
                    blocksMs.size(), blocksMs[blocksMs.size() / 2],
                    rxDoneMs[rxDoneMs.size() / 2] / 1000.0,
                    failures == 0 ? "" : ", SOME RUNS FAILED");
    }
    std::printf("a 19200 baud wire would take %.0f ms for the blocks alone (10 bits a byte)\n",
                (kFileSize / 128) * kBlockBytes * 10 * 1000.0 / 19200);
    std::error_code ignored;
    std::filesystem::remove_all(work, ignored);
    return failures == 0 ? 0 : 1;
}
