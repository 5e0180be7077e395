#include "io/input_file.h"

#include "io/file_error.h"

namespace marnoq::io {

InputFile::InputFile(std::string path) : InputFile(FileLocation::of(path)) {}

InputFile::InputFile(const FileLocation& location) {
    if (const int code = open(location); code != 0) {
        throwFileError(FileOperation::Open, path_, code);
    }
    if (!regular_) {
        throwFileError(FileOperation::Open, path_, kNotRegularFile);
    }
}

std::optional<InputFile> InputFile::openIfRegular(const std::string& path) {
    return openIfRegular(FileLocation::of(path));
}

void InputFile::readExactly(std::span<std::uint8_t> buffer) {
    if (read(buffer) != buffer.size()) {
        throwFileError(FileOperation::Read, path_, kUnexpectedEnd);
    }
}

void InputFile::expectUnchanged() {
    std::uint8_t beyond = 0;
    // A byte past the end shows growth even where the reported size lags behind the writes.
    if (read(std::span(&beyond, 1)) != 0) {
        throwFileError(FileOperation::Read, path_, kGrewWhileRead);
    }
    const std::uint64_t now = currentSize();
    if (now != size_) {
        throwFileError(FileOperation::Read, path_, now > size_ ? kGrewWhileRead : kUnexpectedEnd);
    }
}

}  // namespace marnoq::io
