#include <unistd.h>

#include "cli/console.h"

namespace marnoq::cli {
namespace {

volatile std::sig_atomic_t* stopTarget = nullptr;

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
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) {
        ::sigaction(signal, &action, nullptr);
    }
}

bool isTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

}  // namespace marnoq::cli
