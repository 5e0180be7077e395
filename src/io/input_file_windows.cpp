#include <algorithm>

#include "io/fault_injection.h"
#include "io/input_file.h"
#include "io/windows_file_api.h"
#include "io/windows_text.h"

namespace marnoq::io {
namespace {

constexpr DWORD kLargestRead = 1U << 30;

std::uint64_t sizeOf(HANDLE handle, const std::string& path) {
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(handle, &size) == 0) {
        throwFileError(FileOperation::Stat, path, lastErrno());
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

}  // namespace

int InputFile::open(const FileLocation& location) {
    path_ = location.path();
    checkInjectedFault(FileOperation::Open, path_);
    // Shared as Explorer shares a file it copies, so a file another program has open (a log
    // being written) can be read; a change of its size while read is caught as it is read.
    HANDLE handle = ::CreateFileW(longPath(path_).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastErrno();
    }
    fd_ = adoptHandle(handle);
    regular_ = ::GetFileType(handle) == FILE_TYPE_DISK;
    size_ = regular_ ? sizeOf(handle, path_) : 0;
    // Windows keeps access in lists, not bits: outputs take their folder's inherited access.
    permissions_ = 0666;
    return 0;
}

std::optional<InputFile> InputFile::openIfRegular(const FileLocation& location) {
    InputFile file;
    const int code = file.open(location);
    if (!isListedFile(attributesOf(location.path()))) {
        return std::nullopt;
    }
    // A listed file that exists but cannot be opened is an error, not a file to skip.
    if (code != 0) {
        throwFileError(FileOperation::Open, location.path(), code);
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
        DWORD got = 0;
        const auto wanted =
            static_cast<DWORD>(std::min<std::size_t>(buffer.size() - done, kLargestRead));
        if (::ReadFile(handleOf(fd_.get()), buffer.data() + done, wanted, &got, nullptr) == 0) {
            throwFileError(FileOperation::Read, path_, lastErrno());
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

void InputFile::seek(std::uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (::SetFilePointerEx(handleOf(fd_.get()), to, nullptr, FILE_BEGIN) == 0) {
        throwFileError(FileOperation::Read, path_, lastErrno());
    }
}

std::uint64_t InputFile::currentSize() const {
    return sizeOf(handleOf(fd_.get()), path_);
}

}  // namespace marnoq::io
