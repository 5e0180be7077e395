#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>

#include <cerrno>
#include <mutex>
#include <vector>

#include "io/file_location.h"

namespace marnoq::io {
namespace {

struct WalkedTree {
    std::string prefix;  // the root with its trailing slash
    std::shared_ptr<const UniqueFd> folder;
};

std::mutex treesMutex;
std::vector<WalkedTree> walkedTrees;

const WalkedTree* treeHolding(const std::string& path) {
    std::lock_guard lock(treesMutex);
    for (const auto& tree : walkedTrees) {
        if (path.size() > tree.prefix.size() && path.starts_with(tree.prefix)) {
            return &tree;
        }
    }
    return nullptr;
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

}  // namespace

void refuseLinksBeneath(const std::string& root, UniqueFd folder) {
    std::string prefix = root;
    if (!prefix.ends_with('/')) {
        prefix += '/';
    }
    std::lock_guard lock(treesMutex);
    walkedTrees.push_back({prefix, std::make_shared<const UniqueFd>(std::move(folder))});
}

FileLocation FileLocation::of(const std::string& path) {
    FileLocation location;
    location.path_ = path;
    const auto slash = path.rfind('/');
    location.name_ = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = -1;
    if (const WalkedTree* tree = treeHolding(path)) {
        location.linksRefused_ = true;
        const std::string inside = folder.substr(std::min(folder.size(), tree->prefix.size()));
        if (inside.empty()) {
            location.folder_ = tree->folder;
            return location;
        }
        fd = openBeneath(tree->folder->get(), inside);
    } else {
        fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    if (fd < 0) {
        location.folderError_ = errno;
    } else {
        location.folder_ = std::make_shared<const UniqueFd>(fd);
    }
    return location;
}

FileLocation FileLocation::sibling(const std::string& path) const {
    FileLocation other = *this;
    other.path_ = path;
    const auto slash = path.rfind('/');
    other.name_ = slash == std::string::npos ? path : path.substr(slash + 1);
    return other;
}

}  // namespace marnoq::io
