#include <cstdio>

#include "cli/cli_app.h"
#include "cli/console.h"
#include "secure/process_protection.h"

namespace {

marnoq::cli::StopFlag stopSignal{0};

}  // namespace

int main(int argc, char** argv) {
    marnoq::protectProcess();
    marnoq::cli::prepareConsole(&stopSignal);
    const marnoq::cli::Streams streams{stdin, stdout, stderr, marnoq::cli::isTerminal(stderr)};
    return marnoq::cli::runCli(marnoq::cli::programArguments(argc, argv), streams, &stopSignal);
}
