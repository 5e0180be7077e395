#include "io/absolute_path.h"

#include <algorithm>

#include "io/utf8_path.h"

namespace marnoq::io {

AbsolutePaths::AbsolutePaths(std::filesystem::path workingFolder)
    : workingFolder_(std::move(workingFolder)) {}

std::string AbsolutePaths::operator()(const std::string& path) {
#ifdef _WIN32
    // The system takes these verbatim: nothing may be tidied, not even a "/".
    if (path.starts_with(R"(\\?\)") || path.starts_with(R"(\\.\)")) {
        return path;
    }
    // MinGW's std::filesystem takes "\\server" for a folder, not the root of a network name.
    if (path.size() > 2 && (path[0] == '\\' || path[0] == '/') &&
        (path[1] == '\\' || path[1] == '/')) {
        std::string network = path;
        std::replace(network.begin(), network.end(), '/', '\\');
        return network;
    }
#endif
    std::filesystem::path given = utf8Path(path);
    if (!given.is_absolute()) {
        if (workingFolder_.empty()) {
            workingFolder_ = std::filesystem::current_path();
        }
        if (given.has_root_name() && given.root_name() != workingFolder_.root_name()) {
            // Another drive's current folder, which only the system knows.
            std::error_code error;
            const auto drive = std::filesystem::absolute(given.root_name(), error);
            given = error ? given : drive / given.relative_path();
        } else {
            // A name like "\Daten\a.txt" lands on the working folder's drive.
            given = workingFolder_ / (given.root_directory() / given.relative_path());
        }
    }
    std::filesystem::path tidy = given.root_path();
    for (const auto& part : given.relative_path()) {
        if (!part.empty() && part != ".") {
            tidy /= part;
        }
    }
    if (!given.has_filename() && tidy.has_filename()) {
        tidy += std::filesystem::path::preferred_separator;  // names a folder: the system says
    }
    return utf8Text(tidy.make_preferred());
}

}  // namespace marnoq::io
