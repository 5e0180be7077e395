#pragma once

#include <string>
#include <vector>

namespace marnoq::jobs {

struct FolderWalk {
    std::vector<std::string> files;  // regular files, folder by folder, names sorted
    struct Unreadable {
        std::string folder;
        int code;  // the system's error number
    };
    std::vector<Unreadable> unreadable;
};

// Every regular file below `folder`. Symbolic links to files are taken, symbolic links to
// folders are not followed (so a link loop ends nothing and a link never leads outside); a
// folder that cannot be read is reported and the walk goes on.
FolderWalk walkFolder(const std::string& folder);

}  // namespace marnoq::jobs
