#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace marnoq::cli {

// The number of the signal that asked the program to stop, 0 while none did. Written by a
// signal handler, read by the worker threads: only a lock-free atomic is safe for both.
using StopFlag = std::atomic<int>;
static_assert(StopFlag::is_always_lock_free);

// What the command line needs from the system it runs on; one file per system.

// The program's arguments as UTF-8.
std::vector<std::string> programArguments(int argc, char** argv);
// Binary standard streams, UTF-8 output, and a stop request (Ctrl+C, a termination signal)
// stored in stopSignal instead of ending the program.
void prepareConsole(StopFlag* stopSignal);
// True once a stop was stored; any thread may ask. With `pendingToo` also while one is still on
// its way to the handler: where a stop can end the input early, as Ctrl-C ends a piped producer.
bool stopRequested(const StopFlag* stopSignal, bool pendingToo);
bool isTerminal(std::FILE* stream);
// The width of the terminal or console window the stream shows in; 0 when unknown.
int terminalColumns(std::FILE* stream);
// Writes all of `text` after what the stream holds buffered, through interruptions by a
// signal; 0, or the system's error code when the text could not be written whole. Once a stop
// was stored, a reader that takes nothing more for a second is given up (ETIMEDOUT): a stop
// must end the program also when nobody reads its report.
int writeWhole(std::FILE* stream, std::string_view text, const StopFlag* stopSignal);

}  // namespace marnoq::cli
