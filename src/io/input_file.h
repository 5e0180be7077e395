#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "io/file_location.h"
#include "io/unique_fd.h"

namespace marnoq::io {

// A regular file opened once for reading raw bytes; closed when the object goes. Everything the
// program decides about the file (type, size, mode) comes from the open descriptor, never from
// the name again, so nothing swapped in under the name afterwards is read or blocks the job.
class InputFile {
  public:
    // Throws FileError when the file cannot be opened or is no regular file.
    explicit InputFile(std::string path);
    explicit InputFile(const FileLocation& location);
    // Empty when the path names nothing, or something other than a regular file.
    static std::optional<InputFile> openIfRegular(const std::string& path);
    // The same for a file in a folder looked up before; beneath a walked tree a link in the
    // file's place is an error, not followed.
    static std::optional<InputFile> openIfRegular(const FileLocation& location);

    const std::string& path() const { return path_; }
    // The size when the file was opened.
    std::uint64_t size() const { return size_; }
    // The permission bits when the file was opened.
    std::uint32_t permissions() const { return permissions_; }
    // Reads until the span is full or the file ends; returns the number of bytes read.
    std::size_t read(std::span<std::uint8_t> buffer);
    // Reads exactly buffer.size() bytes; a file that ends early is an error.
    void readExactly(std::span<std::uint8_t> buffer);
    void seek(std::uint64_t offset);
    // Called after the last read: throws when the file now has a size other than at opening,
    // so a file that was written to meanwhile is never taken as complete.
    void expectUnchanged();

  private:
    InputFile() = default;
    // 0, or the errno value why opening failed; a file that is no regular file opens fine.
    int open(const FileLocation& location);
    std::uint64_t currentSize() const;

    std::string path_;
    UniqueFd fd_;
    std::uint64_t size_ = 0;
    std::uint32_t permissions_ = 0;
    bool regular_ = false;
};

}  // namespace marnoq::io
