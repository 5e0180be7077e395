#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "io/folder_walk.h"
#include "io/utf8_path.h"
#include "io/windows_file_api.h"

namespace marnoq::io {
namespace {

namespace fs = std::filesystem;

void walkInto(const fs::path& folder, FolderWalk& walk) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        walk.unreadable.push_back({utf8Text(folder), error.value()});
        return;
    }
    std::vector<fs::directory_entry> entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        walk.unreadable.push_back({utf8Text(folder), error.value()});
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename() < b.path().filename();
    });
    for (const auto& entry : entries) {
        const std::string path = utf8Text(entry.path());
        const DWORD attributes = attributesOf(path);
        std::error_code ignored;
        // Links and junctions alike: a reparse point may lead anywhere.
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            walk.links.push_back(path);
        } else if (entry.is_directory(ignored)) {
            walkInto(entry.path(), walk);
        } else if (entry.is_regular_file(ignored)) {
            walk.files.push_back(path);
        }
    }
}

}  // namespace

FolderWalk walkFolder(const std::string& folder) {
    FolderWalk walk;
    walkInto(utf8Path(folder), walk);
    return walk;
}

}  // namespace marnoq::io
