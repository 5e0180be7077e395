#include <limits.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "cli/console.h"

namespace marnoq::cli {
namespace {

StopFlag* stopTarget = nullptr;

constexpr int kStopGraceMs = 1000;

// Every signal whose default ends the program and that someone may send on purpose or a
// limit may raise. Faults (SEGV, BUS, ILL, FPE, ABRT) are left alone: after one, nothing is
// safe to run.
constexpr int kStopSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,   SIGPIPE, SIGALRM,
                                SIGUSR1, SIGUSR2, SIGXCPU, SIGVTALRM, SIGPROF};

void onStop(int signal) {
    stopTarget->store(signal);
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void prepareConsole(StopFlag* stopSignal) {
    stopTarget = stopSignal;
    struct sigaction action {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    // Every way a session or a pipe ends the program stops the job cleanly; no SA_RESTART,
    // so a blocking wait for input returns at once.
    for (int signal : kStopSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    // Beyond the file size limit a write then fails with EFBIG: an error that names the file
    // and removes the unfinished output instead of the end of the program.
    ::signal(SIGXFSZ, SIG_IGN);
}

bool stopRequested(const StopFlag* stopSignal, bool pendingToo) {
    if (stopSignal != nullptr && stopSignal->load() != 0) {
        return true;
    }
    if (!pendingToo) {
        return false;
    }
    sigset_t pending;
    sigemptyset(&pending);
    ::sigpending(&pending);
    for (int signal : kStopSignals) {
        if (sigismember(&pending, signal) == 1) {
            return true;
        }
    }
    return false;
}

bool isTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

int terminalColumns(std::FILE* stream) {
    winsize size{};
    return ::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

int writeWhole(std::FILE* stream, std::string_view text, const StopFlag* stopSignal) {
    if (std::fflush(stream) != 0) {
        return errno;
    }
    const int fd = ::fileno(stream);
    while (!text.empty()) {
        std::size_t piece = text.size();
        // After a stop the record started is still written whole, but no write may wait for a
        // reader that never comes: pieces a pipe surely takes, once it takes any within a second.
        if (stopRequested(stopSignal, false)) {
            pollfd ready{fd, POLLOUT, 0};
            const int found = ::poll(&ready, 1, kStopGraceMs);
            if (found < 0 && errno == EINTR) {
                continue;
            }
            if (found == 0) {
                return ETIMEDOUT;
            }
            piece = std::min<std::size_t>(piece, PIPE_BUF);
        }
        const ssize_t put = ::write(fd, text.data(), piece);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return put < 0 ? errno : EIO;
        }
        text.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

}  // namespace marnoq::cli
