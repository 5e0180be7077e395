#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "io/unique_fd.h"

namespace marnoq::io {

// The file layer keeps Windows handles in the C runtime's descriptors, so the owner classes and
// their interface are the same on both systems; the Windows calls take the handle back out.
UniqueFd adoptHandle(HANDLE handle);
HANDLE handleOf(int fd);

// The errno value whose German text fits a Windows error code, so both systems share one
// message table (access denied and write-protected media give the long write-error message).
int errnoFromWindows(DWORD code);
int lastErrno();

// Attributes of the name, INVALID_FILE_ATTRIBUTES when there is nothing.
DWORD attributesOf(const std::string& path);
// Hidden and system files are invisible to the existence test, like folders.
bool isListedFile(DWORD attributes);

// Owner-only access for files created without group or other permission bits; null otherwise,
// leaving the folder's inherited access in place. Frees its descriptor when it goes.
class CreationSecurity {
  public:
    explicit CreationSecurity(std::uint32_t mode);
    CreationSecurity(const CreationSecurity&) = delete;
    CreationSecurity& operator=(const CreationSecurity&) = delete;
    ~CreationSecurity();

    SECURITY_ATTRIBUTES* attributes() { return descriptor_ != nullptr ? &attributes_ : nullptr; }

  private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_{};
};

}  // namespace marnoq::io
