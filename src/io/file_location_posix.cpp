#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <cerrno>
#include <mutex>
#include <vector>

#include "io/file_error.h"
#include "io/file_location.h"

namespace marnoq::io {
namespace {

struct WalkedTree {
    std::string prefix;  // the root with its trailing slash
    std::shared_ptr<const UniqueFd> folder;
    std::unordered_map<std::string, FolderIdentity> folders;
};

std::mutex treesMutex;
std::vector<std::shared_ptr<const WalkedTree>> walkedTrees;

std::shared_ptr<const WalkedTree> treeHolding(const std::string& path) {
    std::lock_guard lock(treesMutex);
    for (const auto& tree : walkedTrees) {
        if (path.size() > tree->prefix.size() && path.starts_with(tree->prefix)) {
            return tree;
        }
    }
    return nullptr;
}

std::string lastPart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Without openat2 (kernels before 5.6) the same walk one folder at a time.
int openEachBeneath(int root, const std::string& relative) {
    UniqueFd current(::fcntl(root, F_DUPFD_CLOEXEC, 0));
    std::size_t start = 0;
    while (current.valid() && start < relative.size()) {
        const auto end = std::min(relative.find('/', start), relative.size());
        const std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            errno = EXDEV;
            return -1;
        }
        current.reset(
            ::openat(current.get(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return current.valid() ? current.release() : -1;
}

int openBeneath(int root, const std::string& relative) {
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, root, relative.c_str(), &how, sizeof how);
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) {
        return static_cast<int>(fd);
    }
    return openEachBeneath(root, relative);
}

// The folder below a walked tree's top, looked up beneath it without links. A link on the way,
// or a folder put in place of the one the walk found, is not where the listed file was, even
// where it stays inside the tree.
int openWalkedFolder(const WalkedTree& tree, const std::string& inside, UniqueFd& folder) {
    folder.reset(openBeneath(tree.folder->get(), inside));
    // A link or a non-folder on the way means a swap; anything else is the system's own reason.
    if (!folder.valid() && errno != ELOOP && errno != EXDEV && errno != ENOTDIR) {
        return errno;
    }
    struct stat info {};
    const auto found = tree.folders.find(inside);
    const bool same = folder.valid() && found != tree.folders.end() &&
                      ::fstat(folder.get(), &info) == 0 &&
                      found->second == FolderIdentity{info.st_dev, info.st_ino};
    return same ? 0 : kFolderSwapped;
}

}  // namespace

void refuseLinksBeneath(const std::string& root, UniqueFd folder,
                        std::unordered_map<std::string, FolderIdentity> folders) {
    std::string prefix = root;
    if (!prefix.ends_with('/')) {
        prefix += '/';
    }
    auto tree = std::make_shared<const WalkedTree>(WalkedTree{
        prefix, std::make_shared<const UniqueFd>(std::move(folder)), std::move(folders)});
    std::lock_guard lock(treesMutex);
    walkedTrees.push_back(std::move(tree));
}

FileLocation FileLocation::of(const std::string& path) {
    FileLocation location;
    location.path_ = path;
    location.name_ = lastPart(path);
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    UniqueFd opened;
    if (const auto tree = treeHolding(path)) {
        location.linksRefused_ = true;
        const std::string inside = folder.substr(std::min(folder.size(), tree->prefix.size()));
        if (inside.empty()) {
            location.folder_ = tree->folder;
            return location;
        }
        location.folderError_ = openWalkedFolder(*tree, inside, opened);
    } else {
        opened.reset(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        location.folderError_ = opened.valid() ? 0 : errno;
    }
    if (location.folderError_ == 0) {
        location.folder_ = std::make_shared<const UniqueFd>(std::move(opened));
    }
    return location;
}

FileLocation FileLocation::sibling(const std::string& path) const {
    FileLocation other = *this;
    other.path_ = path;
    other.name_ = lastPart(path);
    return other;
}

}  // namespace marnoq::io
