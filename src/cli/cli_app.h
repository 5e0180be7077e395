#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/console.h"

namespace marnoq::cli {

struct Streams {
    std::FILE* in;
    std::FILE* out;
    std::FILE* err;
    bool errIsTerminal;
};

// Runs one command line; returns the exit status. A signal number stored in stopSignal (by
// the caller's handler) stops the running job, which removes its temporary output.
int runCli(const std::vector<std::string>& arguments, const Streams& streams,
           const StopFlag* stopSignal);

}  // namespace marnoq::cli
