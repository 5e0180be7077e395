#pragma once

#include <string>
#include <vector>

namespace marnoq::io {

struct FolderWalk {
    std::vector<std::string> files;  // regular files, folder by folder, names sorted
    std::vector<std::string> links;  // symbolic links (and other redirections) left out
    std::vector<std::string> others;  // pipes, devices and sockets, left out
    struct Unreadable {
        std::string folder;
        int code;  // the system's error number
    };
    std::vector<Unreadable> unreadable;
};

// Every regular file below `folder`. The folder itself may be reached through a link, as the
// user named it; inside it no link is followed, to a file or to a folder, so the walk and the
// jobs on its files stay inside the tree whatever its other users put there, and a link loop
// ends nothing. A folder that cannot be read is reported and the walk goes on.
FolderWalk walkFolder(const std::string& folder);

}  // namespace marnoq::io
