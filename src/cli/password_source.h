#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/console.h"
#include "secure/wipe.h"

namespace marnoq::cli {

struct Passwords {
    SecretString first;
    SecretString repeat;  // the same text unless it was typed twice
};

struct PasswordOutcome {
    std::optional<Passwords> passwords;
    std::string error;                  // German; the run ends with status 2
    int stopSignal = 0;                 // a stop signal ended the reading
    std::vector<std::string> warnings;  // German; printed, the run goes on
};

// From the terminal without echo (twice when `twice`), from the first line of a file, or from
// the first line of standard input. Never from the arguments. A line longer than 1024 bytes is
// refused; a signal stored in `stop` ends the wait for input at once.
PasswordOutcome obtainPasswords(const Options& options, bool twice, std::FILE* standardInput,
                                const StopFlag* stop);

}  // namespace marnoq::cli
