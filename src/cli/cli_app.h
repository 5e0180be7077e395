#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

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
           const volatile std::sig_atomic_t* stopSignal);

}  // namespace marnoq::cli
