#include "io/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "io/fault_injection.h"

namespace marnoq::io {

OutputFile OutputFile::createOrTruncate(const std::string& path, mode_t mode) {
    checkInjectedFault(FileOperation::Create, path);
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    if (!fd.valid()) {
        throwFileError(FileOperation::Create, path, errno);
    }
    return OutputFile(path, std::move(fd));
}

OutputFile::OutputFile(std::string path, UniqueFd fd)
    : path_(std::move(path)), fd_(std::move(fd)) {}

void OutputFile::write(std::span<const std::uint8_t> bytes) {
    checkInjectedFault(FileOperation::Write, path_);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = ::write(fd_.get(), bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwFileError(FileOperation::Write, path_, errno);
        }
        done += static_cast<std::size_t>(put);
    }
    size_ += bytes.size();
}

void OutputFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    checkInjectedFault(FileOperation::Write, path_);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = ::pwrite(fd_.get(), bytes.data() + done, bytes.size() - done,
                               static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwFileError(FileOperation::Write, path_, errno);
        }
        done += static_cast<std::size_t>(put);
    }
}

void OutputFile::sync() {
    checkInjectedFault(FileOperation::Sync, path_);
    if (::fsync(fd_.get()) != 0) {
        throwFileError(FileOperation::Sync, path_, errno);
    }
}

void OutputFile::syncData() {
    checkInjectedFault(FileOperation::Sync, path_);
    if (::fdatasync(fd_.get()) != 0) {
        throwFileError(FileOperation::Sync, path_, errno);
    }
}

void OutputFile::setMode(mode_t mode) {
    if (::fchmod(fd_.get(), mode) != 0) {
        throwFileError(FileOperation::Write, path_, errno);
    }
}

void OutputFile::close() {
    // close() can report a delayed write error (NFS, quota), so it is checked.
    if (fd_.valid() && ::close(fd_.release()) != 0) {
        throwFileError(FileOperation::Write, path_, errno);
    }
}

}  // namespace marnoq::io
