#include "io/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "io/fault_injection.h"

namespace marnoq::io {

InputFile::InputFile(std::string path) : path_(std::move(path)) {
    checkInjectedFault(FileOperation::Open, path_);
    fd_.reset(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd_.valid()) {
        throwFileError(FileOperation::Open, path_, errno);
    }
    ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
}

std::uint64_t InputFile::size() const {
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0) {
        throwFileError(FileOperation::Stat, path_, errno);
    }
    return static_cast<std::uint64_t>(info.st_size);
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
            throwFileError(FileOperation::Read, path_, errno);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void InputFile::readExactly(std::span<std::uint8_t> buffer) {
    if (read(buffer) != buffer.size()) {
        throwFileError(FileOperation::Read, path_, kUnexpectedEnd);
    }
}

void InputFile::seek(std::uint64_t offset) {
    if (::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET) < 0) {
        throwFileError(FileOperation::Read, path_, errno);
    }
}

}  // namespace marnoq::io
