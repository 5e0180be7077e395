#include "io/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "io/fault_injection.h"

namespace marnoq::io {
namespace {

struct stat statOrThrow(const std::string& path) {
    checkInjectedFault(FileOperation::Stat, path);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throwFileError(FileOperation::Stat, path, errno);
    }
    return info;
}

}  // namespace

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

mode_t permissionBits(const std::string& path) {
    return statOrThrow(path).st_mode & 07777;
}

bool sameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool sameFile(const FileLocation& first, const FileLocation& second) {
    struct stat a {};
    struct stat b {};
    return first.folderError() == 0 && second.folderError() == 0 &&
           ::fstatat(first.folder(), first.name().c_str(), &a, 0) == 0 &&
           ::fstatat(second.folder(), second.name().c_str(), &b, 0) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

EntryKind entryKind(const FileLocation& location) {
    struct stat info {};
    // A path that ends with a slash names its folder.
    const char* name = location.name().empty() ? "." : location.name().c_str();
    if (location.folderError() != 0 ||
        ::fstatat(location.folder(), name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return EntryKind::None;
    }
    if (S_ISLNK(info.st_mode) && ::fstatat(location.folder(), name, &info, 0) != 0) {
        return EntryKind::Other;
    }
    return S_ISDIR(info.st_mode)   ? EntryKind::Folder
           : S_ISREG(info.st_mode) ? EntryKind::RegularFile
                                   : EntryKind::Other;
}

}  // namespace marnoq::io
