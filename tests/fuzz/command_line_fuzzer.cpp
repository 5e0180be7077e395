// The window's command-line sorting and the command line's option parser on arbitrary
// argument lists (one argument per line).
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "fuzz_check.h"
#include "jobs/path_functions.h"
#include "window_model/command_line_split.h"

namespace {

std::vector<std::string> splitLines(const std::string& input) {
    std::vector<std::string> lines(1);
    for (const char c : input) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

void checkWindowSorting(const std::vector<std::string>& arguments) {
    const auto files = marnoq::window_model::sortCommandLine(arguments, "/home/nutzer/Dokumente");
    std::size_t given = 0;
    for (const auto& argument : arguments) {
        given += argument.empty() ? 0 : 1;
    }
    FUZZ_CHECK(files.encrypt.size() + files.decrypt.size() == given);
    for (const auto& path : files.encrypt) {
        FUZZ_CHECK(!path.empty() && path[0] == '/');
        FUZZ_CHECK(!marnoq::jobs::hasAesExtension(path));
    }
    for (const auto& path : files.decrypt) {
        FUZZ_CHECK(!path.empty() && path[0] == '/');
        FUZZ_CHECK(marnoq::jobs::hasAesExtension(path));
    }
}

bool contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

void checkOptionParser(const std::vector<std::string>& arguments) {
    using marnoq::cli::Command;
    const auto parsed = marnoq::cli::parseArguments(arguments);
    if (!parsed.options) {
        FUZZ_CHECK(!parsed.error.empty());
        return;
    }
    const auto& options = *parsed.options;
    if (options.command == Command::Help || options.command == Command::Version) {
        return;
    }
    FUZZ_CHECK(!options.files.empty());
    for (const auto& file : options.files) {
        FUZZ_CHECK(contains(arguments, file));
    }
    FUZZ_CHECK(options.passwordFile.empty() || contains(arguments, options.passwordFile));
    FUZZ_CHECK(!(options.originalName && options.command != Command::Decrypt));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto arguments = splitLines(std::string(reinterpret_cast<const char*>(data), size));
    checkWindowSorting(arguments);
    checkOptionParser(arguments);
    return 0;
}
