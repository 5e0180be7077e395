#include <algorithm>

#include "io/fault_injection.h"
#include "io/output_file.h"
#include "io/windows_file_api.h"
#include "io/windows_text.h"

namespace marnoq::io {
namespace {

constexpr DWORD kLargestWrite = 1U << 30;

// Writes all bytes, at the handle's position or, with an offset, at that offset.
void writeAll(HANDLE handle, const std::string& path, std::span<const std::uint8_t> bytes,
              const std::uint64_t* offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED at{};
        if (offset != nullptr) {
            const std::uint64_t position = *offset + done;
            at.Offset = static_cast<DWORD>(position);
            at.OffsetHigh = static_cast<DWORD>(position >> 32);
        }
        DWORD put = 0;
        const auto wanted =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kLargestWrite));
        if (::WriteFile(handle, bytes.data() + done, wanted, &put,
                        offset != nullptr ? &at : nullptr) == 0) {
            throwFileError(FileOperation::Write, path, lastErrno());
        }
        done += put;
    }
}

}  // namespace

OutputFile OutputFile::createOrTruncate(const std::string& path, mode_t mode) {
    checkInjectedFault(FileOperation::Create, path);
    CreationSecurity security(mode);
    HANDLE handle =
        ::CreateFileW(longPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, security.attributes(),
                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throwFileError(FileOperation::Create, path, lastErrno());
    }
    return OutputFile(path, adoptHandle(handle));
}

OutputFile::OutputFile(std::string path, UniqueFd fd)
    : path_(std::move(path)), fd_(std::move(fd)) {}

void OutputFile::write(std::span<const std::uint8_t> bytes) {
    checkInjectedFault(FileOperation::Write, path_);
    writeAll(handleOf(fd_.get()), path_, bytes, nullptr);
    size_ += bytes.size();
}

void OutputFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    checkInjectedFault(FileOperation::Write, path_);
    // A positioned write moves the handle's position too; the append position is put back.
    HANDLE handle = handleOf(fd_.get());
    LARGE_INTEGER append{};
    if (::SetFilePointerEx(handle, LARGE_INTEGER{}, &append, FILE_CURRENT) == 0) {
        throwFileError(FileOperation::Write, path_, lastErrno());
    }
    writeAll(handle, path_, bytes, &offset);
    if (::SetFilePointerEx(handle, append, nullptr, FILE_BEGIN) == 0) {
        throwFileError(FileOperation::Write, path_, lastErrno());
    }
}

void OutputFile::sync() {
    checkInjectedFault(FileOperation::Sync, path_);
    if (::FlushFileBuffers(handleOf(fd_.get())) == 0) {
        throwFileError(FileOperation::Sync, path_, lastErrno());
    }
}

// Windows flushes a file's data and its size together.
void OutputFile::syncData() {
    sync();
}

void OutputFile::close() {
    if (fd_.valid() && ::close(fd_.release()) != 0) {
        throwFileError(FileOperation::Write, path_, EIO);
    }
}

}  // namespace marnoq::io
