#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace marnoq::cli {

// What the command line needs from the system it runs on; one file per system.

// The program's arguments as UTF-8.
std::vector<std::string> programArguments(int argc, char** argv);
// Binary standard streams, UTF-8 output, and a stop request (Ctrl+C, a termination signal)
// stored in stopSignal instead of ending the program.
void prepareConsole(volatile std::sig_atomic_t* stopSignal);
// True once a stop was stored; any thread may ask. With `pendingToo` also while one is still on
// its way to the handler: where a stop can end the input early, as Ctrl-C ends a piped producer.
bool stopRequested(const volatile std::sig_atomic_t* stopSignal, bool pendingToo);
bool isTerminal(std::FILE* stream);

}  // namespace marnoq::cli
