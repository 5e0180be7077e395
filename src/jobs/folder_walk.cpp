#include "jobs/folder_walk.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "io/utf8_path.h"

namespace marnoq::jobs {
namespace {

namespace fs = std::filesystem;

void walkInto(const fs::path& folder, FolderWalk& walk) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        walk.unreadable.push_back({io::utf8Text(folder), error.value()});
        return;
    }
    std::vector<fs::directory_entry> entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        walk.unreadable.push_back({io::utf8Text(folder), error.value()});
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename() < b.path().filename();
    });
    for (const auto& entry : entries) {
        std::error_code ignored;
        if (entry.is_symlink(ignored)) {
            if (fs::is_regular_file(entry.path(), ignored)) {
                walk.files.push_back(io::utf8Text(entry.path()));
            }
        } else if (entry.is_directory(ignored)) {
            walkInto(entry.path(), walk);
        } else if (entry.is_regular_file(ignored)) {
            walk.files.push_back(io::utf8Text(entry.path()));
        }
    }
}

}  // namespace

FolderWalk walkFolder(const std::string& folder) {
    FolderWalk walk;
    walkInto(io::utf8Path(folder), walk);
    return walk;
}

}  // namespace marnoq::jobs
