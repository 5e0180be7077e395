#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "io/deferred_names.h"
#include "io/fault_injection.h"
#include "io/temporary_output.h"

namespace marnoq::io {
namespace {

constexpr int kNameAttempts = 100;

// Tests force the named fallback, which most file systems never need.
bool namelessFilesAllowed() {
    return std::getenv("MARNOQ_NO_TMPFILE") == nullptr;
}

bool namelessFilesRefused(int code) {
    return code == EOPNOTSUPP || code == EISDIR || code == EINVAL;
}

// Gives the open nameless file a name. Through /proc any user may do it; the empty-path form
// needs a privilege unless the kernel is recent, so it is only the second choice.
int linkOpenFile(int fd, int folder, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    if (errno != ENOENT) {
        return errno;
    }
    return ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

}  // namespace

TemporaryOutput::TemporaryOutput(std::string destination, mode_t mode)
    : TemporaryOutput(FileLocation::of(destination), mode) {}

TemporaryOutput::TemporaryOutput(const FileLocation& destination, mode_t mode)
    : destination_(destination.path()), leaf_(destination.name()) {
    checkInjectedFault(FileOperation::Create, destination_);
    if (destination.folderError() != 0) {
        throwFileError(FileOperation::Create, destination_, destination.folderError());
    }
    folder_ = destination.folderHandle();
    // A name the folder cannot hold is refused now, not after the whole file was written.
    struct stat info {};
    replacing_ = ::fstatat(folder_->get(), leaf_.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    if (!replacing_ && errno == ENAMETOOLONG) {
        throwFileError(FileOperation::Create, destination_, ENAMETOOLONG);
    }
    mode &= 07777;
    if (namelessFilesAllowed()) {
        UniqueFd fd(::openat(folder_->get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        if (fd.valid()) {
            // Errors name the destination: that is the file the user asked for.
            file_.emplace(destination_, std::move(fd));
            return;
        }
        if (!namelessFilesRefused(errno)) {
            throwFileError(FileOperation::Create, destination_, errno);
        }
    }
    openNamed(mode);
}

TemporaryOutput::TemporaryOutput(TemporaryOutput&& other) noexcept
    : destination_(std::move(other.destination_)),
      leaf_(std::move(other.leaf_)),
      folder_(std::move(other.folder_)),
      name_(std::move(other.name_)),
      file_(std::move(other.file_)),
      replacing_(other.replacing_),
      replaceAppeared_(std::move(other.replaceAppeared_)),
      done_(std::exchange(other.done_, true)) {}

void TemporaryOutput::openNamed(mode_t mode) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = randomName();
        UniqueFd fd(::openat(folder_->get(), name.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd.valid()) {
            name_ = std::move(name);
            file_.emplace(destination_, std::move(fd));
            return;
        }
        if (errno != EEXIST) {
            throwFileError(FileOperation::Create, destination_, errno);
        }
    }
    throwFileError(FileOperation::Create, destination_, EEXIST);
}

void TemporaryOutput::linkUnderTemporaryName() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = randomName();
        const int code = linkOpenFile(file_->descriptor(), folder_->get(), name);
        if (code == 0) {
            name_ = std::move(name);
            return;
        }
        if (code != EEXIST) {
            throwFileError(FileOperation::Rename, destination_, code);
        }
    }
    throwFileError(FileOperation::Rename, destination_, EEXIST);
}

// A new destination is named in one step: linking fails rather than replace a file that
// appeared meanwhile, and spares the directory a second entry and a rename per file.
bool TemporaryOutput::linkAsDestination() {
    const int code = linkOpenFile(file_->descriptor(), folder_->get(), leaf_);
    if (code == EEXIST) {
        return false;
    }
    if (code != 0) {
        throwFileError(FileOperation::Create, destination_, code);  // nothing was to be replaced
    }
    return true;
}

TemporaryOutput::~TemporaryOutput() {
    discard();
}

// What the first look found decides how the name is given; a destination that appeared since
// makes the new name fail.
void TemporaryOutput::commit(const std::function<void()>& lastCheck, DeferredNames* later) {
    const bool deferred =
        later != nullptr && name_.empty() && !replacing_ && later->takes(file_->size());
    if (!deferred) {
        file_->syncData();
    }
    if (lastCheck) {
        lastCheck();
    }
    checkInjectedFault(FileOperation::Rename, destination_);
    if (deferred) {
        later->add(std::move(*this));
        return;
    }
    nameSynced();
    syncFolder();
    file_->close();
}

void TemporaryOutput::nameSynced() {
    // A new name replaces nothing that took it meanwhile, unless that is allowed.
    if (!replacing_ && !(name_.empty() ? linkAsDestination() : renameAsDestination())) {
        if (!(replaceAppeared_ && replaceAppeared_())) {
            throwFileError(FileOperation::Create, destination_, kAppearedMeanwhile);
        }
        replacing_ = true;
    }
    if (replacing_) {
        if (name_.empty()) {
            linkUnderTemporaryName();
        }
        if (::renameat(folder_->get(), name_.c_str(), folder_->get(), leaf_.c_str()) != 0) {
            throwFileError(FileOperation::Rename, destination_, errno);
        }
    }
    name_.clear();
    done_ = true;
}

// The named stand-in moves to a new name the same way: failing rather than replacing. Where the
// file system cannot promise that, a last look has to do.
bool TemporaryOutput::renameAsDestination() {
    if (::renameat2(folder_->get(), name_.c_str(), folder_->get(), leaf_.c_str(),
                    RENAME_NOREPLACE) == 0) {
        return true;
    }
    const int code = errno;
    if (code == EEXIST) {
        return false;
    }
    if (code != EINVAL && code != ENOSYS) {
        throwFileError(FileOperation::Create, destination_, code);
    }
    struct stat info {};
    if (::fstatat(folder_->get(), leaf_.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return false;
    }
    if (::renameat(folder_->get(), name_.c_str(), folder_->get(), leaf_.c_str()) != 0) {
        throwFileError(FileOperation::Create, destination_, errno);
    }
    return true;
}

// The name is on disk only once its folder is. A folder that may be written but not read
// cannot be opened for that; the whole file system is flushed instead. Past the rename there
// is no way back, so the fault tests leave this one out.
void TemporaryOutput::syncFolder() {
    UniqueFd folder(::openat(folder_->get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const int result = folder.valid() ? ::fsync(folder.get()) : ::syncfs(file_->descriptor());
    if (result != 0) {
        throwFileError(FileOperation::Sync, destination_, errno);
    }
}

void TemporaryOutput::discard() {
    if (done_) {
        return;
    }
    done_ = true;
    file_.reset();
    if (!name_.empty()) {
        ::unlinkat(folder_->get(), name_.c_str(), 0);
    }
}

}  // namespace marnoq::io
