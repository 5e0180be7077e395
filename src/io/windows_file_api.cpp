#include "io/windows_file_api.h"

#include <io.h>
#include <sddl.h>

#include <cerrno>
#include <cstdint>

#include "io/file_error.h"
#include "io/windows_text.h"

namespace marnoq::io {

UniqueFd adoptHandle(HANDLE handle) {
    const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), 0);
    if (fd < 0) {
        ::CloseHandle(handle);
    }
    return UniqueFd(fd);
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

int errnoFromWindows(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_NETWORK_ACCESS_DENIED:
            return EACCES;
        case ERROR_PRIVILEGE_NOT_HELD:
            return EPERM;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_SHARING_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return EBUSY;
        case ERROR_LOCK_VIOLATION:
            return kLockedRange;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_FILE_TOO_LARGE:
            return EFBIG;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        default:
            return EIO;
    }
}

int lastErrno() {
    return errnoFromWindows(::GetLastError());
}

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(longPath(path).c_str());
}

bool isListedFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

CreationSecurity::CreationSecurity(std::uint32_t mode) {
    if ((mode & 077) != 0) {
        return;
    }
    // Private as Windows keeps a user's own files: full access for the user running us, for
    // SYSTEM and for the Administrators (backup and sync services run as these), nobody else;
    // protected, so a shared folder's entries are not inherited.
    HANDLE token = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) == 0) {
        return;
    }
    alignas(TOKEN_USER) unsigned char user[256] = {};
    DWORD length = 0;
    wchar_t* sid = nullptr;
    const bool known =
        ::GetTokenInformation(token, TokenUser, user, sizeof user, &length) != 0 &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid) != 0;
    ::CloseHandle(token);
    if (!known) {
        return;
    }
    const std::wstring rules = L"D:P(A;;FA;;;" + std::wstring(sid) + L")(A;;FA;;;SY)(A;;FA;;;BA)";
    ::LocalFree(sid);
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(rules.c_str(), SDDL_REVISION_1,
                                                               &descriptor_, nullptr) == 0) {
        descriptor_ = nullptr;
        return;
    }
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = descriptor_;
    attributes_.bInheritHandle = FALSE;
}

CreationSecurity::~CreationSecurity() {
    if (descriptor_ != nullptr) {
        ::LocalFree(descriptor_);
    }
}

}  // namespace marnoq::io
