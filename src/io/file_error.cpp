#include "io/file_error.h"

#include <cerrno>
#include <system_error>

namespace marnoq::io {
namespace {

std::string describe(FileOperation operation, const std::string& path, int code) {
    std::string reason = code == kUnexpectedEnd    ? "unexpected end of file"
                         : code == kGrewWhileRead  ? "file grew while read"
                         : code == kNotRegularFile ? "not a regular file"
                         : code == kFolderSwapped  ? "folder swapped since the walk"
                         : code == kAppearedMeanwhile ? "destination appeared meanwhile"
                         : code == kLockedRange    ? "locked by another program"
                                                   : systemErrorText(code);
    return std::string(operationName(operation)) + " " + path + ": " + reason;
}

}  // namespace

std::string systemErrorText(int code) {
    return std::generic_category().message(code);
}

const char* operationName(FileOperation operation) {
    switch (operation) {
        case FileOperation::Open: return "open";
        case FileOperation::Create: return "create";
        case FileOperation::Read: return "read";
        case FileOperation::Write: return "write";
        case FileOperation::Sync: return "sync";
        case FileOperation::Rename: return "rename";
        case FileOperation::Remove: return "remove";
        case FileOperation::Stat: return "stat";
    }
    return "?";
}

FileError::FileError(FileOperation operation, std::string path, int code)
    : std::runtime_error(describe(operation, path, code)),
      operation_(operation),
      path_(std::move(path)),
      code_(code) {}

bool FileError::isAccessFailure() const {
    return code_ == EACCES || code_ == EPERM || code_ == EROFS;
}

void throwFileError(FileOperation operation, const std::string& path, int code) {
    throw FileError(operation, path, code);
}

}  // namespace marnoq::io
