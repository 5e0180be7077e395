#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "io/unique_fd.h"

namespace marnoq::io {

// A file as the folder it lives in, looked up once and held open, and its name in that folder.
// Whatever is opened, created or linked through it stays in that folder, even if a folder on
// the way is swapped for another one or for a link afterwards.
class FileLocation {
  public:
    // Looks up the folder part of `path` once. Beneath a walked tree (see refuseLinksBeneath)
    // the lookup starts at the tree's open folder and no symbolic link is followed; elsewhere
    // links and ".." are resolved by the system, as the user who typed the path expects.
    // Never throws: a folder that cannot be opened is kept as an error number.
    static FileLocation of(const std::string& path);

    // The path as given, for messages and reports.
    const std::string& path() const { return path_; }
    // The last part of the path, looked up in the folder.
    const std::string& name() const { return name_; }
    // Another file of the same folder; `path` names it, its last part is its name.
    FileLocation sibling(const std::string& path) const;
    // True beneath a walked tree: a link in the file's place is not followed either.
    bool linksRefused() const { return linksRefused_; }
    // The system error number of the folder's lookup; 0 when the folder is open.
    int folderError() const { return folderError_; }
    // The open folder (POSIX; -1 on Windows, whose file layer works with full paths).
    int folder() const { return folder_ ? folder_->get() : -1; }
    const std::shared_ptr<const UniqueFd>& folderHandle() const { return folder_; }

  private:
    std::string path_;
    std::string name_;
    std::shared_ptr<const UniqueFd> folder_;
    int folderError_ = 0;
    bool linksRefused_ = false;
};

// The device and inode of a folder: which folder it is, whatever its name.
struct FolderIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// Marks `root` as a walked tree whose inside is reached only through `folder`, the tree's top
// opened once: files below it are later looked up beneath that folder without following links,
// and only in the folders the walk found, by their path below the root ("a/b/") and identity.
void refuseLinksBeneath(const std::string& root, UniqueFd folder,
                        std::unordered_map<std::string, FolderIdentity> folders);

}  // namespace marnoq::io
