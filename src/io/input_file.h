#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "io/unique_fd.h"

namespace marnoq::io {

// A file opened for reading raw bytes; closed when the object goes.
class InputFile {
public:
    explicit InputFile(std::string path);

    const std::string& path() const { return path_; }
    std::uint64_t size() const;
    // Reads until the span is full or the file ends; returns the number of bytes read.
    std::size_t read(std::span<std::uint8_t> buffer);
    // Reads exactly buffer.size() bytes; a file that ends early is an error.
    void readExactly(std::span<std::uint8_t> buffer);
    void seek(std::uint64_t offset);

private:
    std::string path_;
    UniqueFd fd_;
};

}  // namespace marnoq::io
