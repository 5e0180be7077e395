#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "io/fault_injection.h"
#include "io/input_file.h"

namespace marnoq::io {
namespace {

// Below this the kernel's own read-ahead covers the file; the advice would only cost a call.
constexpr std::uint64_t kAdviseFrom = 1024 * 1024;

// True when the flag was set and is now cleared, so a retry can block as a read should.
bool clearNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) != 0 &&
           ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

}  // namespace

int InputFile::open(const FileLocation& location) {
    path_ = location.path();
    if (location.folderError() != 0) {
        return location.folderError();
    }
    checkInjectedFault(FileOperation::Open, path_);
    // Without O_NONBLOCK a pipe put in place of the file would block the open until a writer
    // comes; beneath a walked tree a link in the file's place is not followed either.
    const int flags =
        O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (location.linksRefused() ? O_NOFOLLOW : 0);
    fd_.reset(::openat(location.folder(), location.name().c_str(), flags));
    if (!fd_.valid()) {
        return errno;
    }
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0) {
        throwFileError(FileOperation::Stat, path_, errno);
    }
    regular_ = S_ISREG(info.st_mode);
    size_ = static_cast<std::uint64_t>(info.st_size);
    permissions_ = info.st_mode & 07777;
    // O_NONBLOCK stays: local file systems ignore it for regular files, and read() clears it
    // where one does not, which spares two calls for every small file.
    if (regular_ && size_ >= kAdviseFrom) {
        ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    return 0;
}

std::optional<InputFile> InputFile::openIfRegular(const FileLocation& location) {
    InputFile file;
    if (const int code = file.open(location); code != 0) {
        struct stat info {};
        // A regular file that exists but cannot be opened is an error, not a file to skip; so
        // is a link or a swapped folder where a walked tree had a file.
        const bool regular = location.folderError() == 0 &&
                             ::fstatat(location.folder(), location.name().c_str(), &info, 0) == 0 &&
                             S_ISREG(info.st_mode);
        if (regular || code == ELOOP || code == EXDEV || code == kFolderSwapped) {
            throwFileError(FileOperation::Open, location.path(), code);
        }
        return std::nullopt;
    }
    if (!file.regular_) {
        return std::nullopt;
    }
    return file;
}

std::size_t InputFile::read(std::span<std::uint8_t> buffer) {
    checkInjectedFault(FileOperation::Read, path_);
    std::size_t done = 0;
    while (done < buffer.size()) {
        ssize_t got = ::read(fd_.get(), buffer.data() + done, buffer.size() - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN && clearNonBlocking(fd_.get())) {
                continue;
            }
            throwFileError(FileOperation::Read, path_, errno);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void InputFile::seek(std::uint64_t offset) {
    if (::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET) < 0) {
        throwFileError(FileOperation::Read, path_, errno);
    }
}

std::uint64_t InputFile::currentSize() const {
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0) {
        throwFileError(FileOperation::Stat, path_, errno);
    }
    return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace marnoq::io
