#pragma once

#include <string>
#include <vector>

namespace marnoq::ui {

struct CommandLineFiles {
    std::vector<std::string> encrypt;  // for List1
    std::vector<std::string> decrypt;  // for List2: ".aes" in any case
};

// Every argument is one path (the shell or the file manager has split and unquoted them).
// Relative paths are made absolute against the current folder; empty ones are skipped.
CommandLineFiles sortCommandLine(const std::vector<std::string>& arguments,
                                 const std::string& currentFolder);

}  // namespace marnoq::ui
