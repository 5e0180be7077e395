#pragma once

#include <sys/types.h>

#include <cstdint>
#include <span>
#include <string>

#include "io/byte_sink.h"
#include "io/unique_fd.h"

namespace marnoq::io {

// A file opened for writing; closed when the object goes.
class OutputFile : public ByteSink {
  public:
    // Creates the file, or empties an existing one.
    static OutputFile createOrTruncate(const std::string& path, mode_t mode = 0666);
    // Adopts a descriptor that was opened elsewhere for this path.
    OutputFile(std::string path, UniqueFd fd);

    const std::string& path() const { return path_; }
    int descriptor() const { return fd_.get(); }
    void write(std::span<const std::uint8_t> bytes) override;
    // Overwrites bytes already written, without moving the append position.
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    void sync();
    // The bytes and the size on disk, not necessarily every time stamp: enough before a name.
    void syncData();
    // Bytes appended by write().
    std::uint64_t size() const { return size_; }
    void setMode(mode_t mode);
    void close();

  private:
    std::string path_;
    UniqueFd fd_;
    std::uint64_t size_ = 0;
};

}  // namespace marnoq::io
