#include "io/file_system.h"

#include "io/fault_injection.h"
#include "io/windows_file_api.h"
#include "io/windows_text.h"

namespace marnoq::io {
namespace {

// Volume and index identify a file whatever name it is reached by.
bool identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE handle = ::CreateFileW(longPath(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    return known;
}

}  // namespace

bool exists(const std::string& path) {
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool isRegularFile(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool isDirectory(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

mode_t permissionBits(const std::string& path) {
    checkInjectedFault(FileOperation::Stat, path);
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        throwFileError(FileOperation::Stat, path, lastErrno());
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
}

bool sameFile(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return identify(first, a) && identify(second, b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

bool sameFile(const FileLocation& first, const FileLocation& second) {
    return sameFile(first.path(), second.path());
}

EntryKind entryKind(const FileLocation& location) {
    const DWORD attributes = attributesOf(location.path());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return EntryKind::None;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::Folder
                                                        : EntryKind::RegularFile;
}

}  // namespace marnoq::io
