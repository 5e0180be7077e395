#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "io/file_location.h"
#include "io/folder_walk.h"
#include "io/unique_fd.h"

namespace marnoq::io {
namespace {

struct Entry {
    std::string name;
    unsigned char type;
};

struct CloseDir {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

// Reads the folder's entries through a copy of its descriptor, which the listing then owns.
bool readEntries(int folder, std::vector<Entry>& entries) {
    UniqueFd copy(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::unique_ptr<DIR, CloseDir> listing(copy.valid() ? ::fdopendir(copy.get()) : nullptr);
    if (!listing) {
        return false;
    }
    copy.release();
    errno = 0;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            entries.push_back({name, entry->d_type});
        }
        errno = 0;
    }
    return errno == 0;
}

using Identities = std::unordered_map<std::string, FolderIdentity>;

// `inside` is the folder's path below the top, with its slash ("a/b/"; empty for the top).
void walkInto(int folder, const std::string& prefix, const std::string& inside, FolderWalk& walk,
              Identities& identities) {
    std::vector<Entry> entries;
    if (!readEntries(folder, entries)) {
        walk.unreadable.push_back({prefix.substr(0, prefix.size() - 1), errno});
        if (entries.empty()) {
            return;
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (auto& entry : entries) {
        const std::string path = prefix + entry.name;
        if (entry.type == DT_UNKNOWN) {
            struct stat info {};
            if (::fstatat(folder, entry.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
                entry.type = S_ISDIR(info.st_mode)   ? DT_DIR
                             : S_ISREG(info.st_mode) ? DT_REG
                             : S_ISLNK(info.st_mode) ? DT_LNK
                                                     : DT_FIFO;  // stands for any other kind
            }
        }
        if (entry.type == DT_REG) {
            walk.files.push_back(path);
        } else if (entry.type == DT_LNK) {
            walk.links.push_back(path);
        } else if (entry.type != DT_DIR && entry.type != DT_UNKNOWN) {
            walk.others.push_back(path);
        } else if (entry.type == DT_DIR) {
            UniqueFd inner(::openat(folder, entry.name.c_str(),
                                    O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            struct stat info {};
            if (inner.valid() && ::fstat(inner.get(), &info) == 0) {
                identities[inside + entry.name + "/"] = {info.st_dev, info.st_ino};
                walkInto(inner.get(), path + "/", inside + entry.name + "/", walk, identities);
            } else if (errno == ELOOP || errno == ENOTDIR) {
                walk.links.push_back(path);  // became a link since it was listed
            } else {
                walk.unreadable.push_back({path, errno});
            }
        }
    }
}

}  // namespace

FolderWalk walkFolder(const std::string& folder) {
    FolderWalk walk;
    UniqueFd top(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!top.valid()) {
        walk.unreadable.push_back({folder, errno});
        return walk;
    }
    Identities identities;
    walkInto(top.get(), folder.ends_with('/') ? folder : folder + "/", "", walk, identities);
    refuseLinksBeneath(folder, std::move(top), std::move(identities));
    return walk;
}

}  // namespace marnoq::io
