#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "secure/process_protection.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void onStop(int signal) { stopSignal = signal; }

}  // namespace

int main(int argc, char** argv) {
    marnoq::protectProcess();
    // Every way a session or a pipe ends the program stops the job cleanly; no SA_RESTART,
    // so a blocking wait for input returns at once.
    struct sigaction action {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) {
        ::sigaction(signal, &action, nullptr);
    }

    std::vector<std::string> arguments(argv + 1, argv + argc);
    const marnoq::cli::Streams streams{stdin, stdout, stderr, ::isatty(STDERR_FILENO) == 1};
    return marnoq::cli::runCli(arguments, streams, &stopSignal);
}
