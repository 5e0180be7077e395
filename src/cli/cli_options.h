#pragma once

#include <optional>
#include <string>
#include <vector>

namespace marnoq::cli {

enum class Command { Encrypt, Decrypt, Verify, Info, Help, Version };
enum class PasswordSource { Terminal, File, Stdin };

struct Options {
    Command command = Command::Help;
    std::vector<std::string> files;
    PasswordSource passwordSource = PasswordSource::Terminal;
    std::string passwordFile;
    bool originalName = false;
    std::string suffix = "-dec";
    std::string output;  // -o: for the only input; "-" is standard output (decrypt)
    bool recursive = false;
    int jobs = 0;  // 0: one per usable processor
    bool json = false;
    bool quiet = false;
    bool force = false;  // -f: an existing output is replaced instead of kept
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // German, for stderr, when options is empty
};

ParseResult parseArguments(const std::vector<std::string>& arguments);

const char* usageText();

}  // namespace marnoq::cli
