#pragma once

#include <string>
#include <vector>

namespace marnoq::window_model {

struct CommandLineFiles {
    std::vector<std::string> encrypt;  // for List1
    std::vector<std::string> decrypt;  // for List2: ".aes" in any case
};

// Every item is one path; relative ones are made absolute against the current folder as the
// command line does it, empty ones are skipped.
CommandLineFiles sortCommandLine(const std::vector<std::string>& items,
                                 const std::string& currentFolder);

// What the window was asked for: options come before the files, "--" ends them, and every later
// item is a file even when it begins with "-".
struct WindowArguments {
    enum class Request { Open, Help, Version, UnknownOption };
    Request request = Request::Open;
    std::vector<std::string> files;
    std::string unknownOption = {};
};
WindowArguments windowArguments(const std::vector<std::string>& items);

// The German help the window program prints, and its refusal of an option it does not know.
std::string windowHelpText(const std::string& programName);
std::string unknownOptionText(const std::string& option);

}  // namespace marnoq::window_model
