#pragma once

#include <sys/types.h>

#include <string>

#include "io/file_location.h"

namespace marnoq::io {

// True for anything at the path, without following a final symbolic link.
bool exists(const std::string& path);
// True for a regular file, symbolic links followed.
bool isRegularFile(const std::string& path);
bool isDirectory(const std::string& path);
// Permission bits of the file at the path; throws FileError when it cannot be examined.
mode_t permissionBits(const std::string& path);
// True when both paths name the same file (hard or symbolic links included).
bool sameFile(const std::string& first, const std::string& second);
bool sameFile(const FileLocation& first, const FileLocation& second);

enum class EntryKind { None, Folder, RegularFile, Other };
// What is at the location, a final symbolic link followed (a dangling one is Other).
EntryKind entryKind(const FileLocation& location);

}  // namespace marnoq::io
