#pragma once

#include <stdexcept>
#include <string>

namespace marnoq::io {

enum class FileOperation { Open, Create, Read, Write, Sync, Rename, Remove, Stat };

// Codes of our own beside the system's error numbers: a file that turned out shorter than its
// size promised while we read it, one that grew while we read it, and a name that turned out to
// be a folder, device or pipe once opened; and one whose bytes another program has locked.
inline constexpr int kUnexpectedEnd = -1;
inline constexpr int kGrewWhileRead = -2;
inline constexpr int kNotRegularFile = -3;
// A folder of a walked tree that is no longer the folder the walk found there.
inline constexpr int kFolderSwapped = -4;
// A file that took the output's name while the output was written, and was not to be replaced.
inline constexpr int kAppearedMeanwhile = -5;
// Windows: a range of the file is locked by another program (a sharing violation is EBUSY).
inline constexpr int kLockedRange = -6;

// A failed file access. Carries what a front end needs to word its own message: which file,
// what we tried, and the system's error number.
class FileError : public std::runtime_error {
public:
    FileError(FileOperation operation, std::string path, int code);

    FileOperation operation() const { return operation_; }
    const std::string& path() const { return path_; }
    int code() const { return code_; }

    // A permission or read-only-medium failure: the case the program has its long message for.
    bool isAccessFailure() const;

private:
    FileOperation operation_;
    std::string path_;
    int code_;
};

// strerror's text, safe to call from the writer thread as well.
std::string systemErrorText(int code);

// The operation as a short English word, for logs and test traces.
const char* operationName(FileOperation operation);

[[noreturn]] void throwFileError(FileOperation operation, const std::string& path, int code);

}  // namespace marnoq::io
