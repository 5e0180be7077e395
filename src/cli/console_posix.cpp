#include <unistd.h>

#include "cli/console.h"

namespace marnoq::cli {
namespace {

volatile std::sig_atomic_t* stopTarget = nullptr;

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

void onStop(int signal) {
    *stopTarget = signal;
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void prepareConsole(volatile std::sig_atomic_t* stopSignal) {
    stopTarget = stopSignal;
    struct sigaction action {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    // Every way a session or a pipe ends the program stops the job cleanly; no SA_RESTART,
    // so a blocking wait for input returns at once.
    for (int signal : kStopSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

bool stopRequested(const volatile std::sig_atomic_t* stopSignal, bool pendingToo) {
    if (stopSignal != nullptr && *stopSignal != 0) {
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

}  // namespace marnoq::cli
