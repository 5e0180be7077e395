#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "io/byte_sink.h"

namespace marnoq::io {

// The name "-" on the command line: plain data from standard input or to standard output.
inline constexpr const char* kStandardStream = "-";

// Reads a stream of unknown length (a pipe, a terminal) until it ends.
class StreamSource {
  public:
    StreamSource(std::FILE* stream, std::string name);
    // Reads until the span is full or the stream ends; returns the number of bytes read.
    std::size_t read(std::span<std::uint8_t> buffer);
    const std::string& name() const { return name_; }

  private:
    std::FILE* stream_;
    std::string name_;
};

// Writes to a stream that cannot be rewound; errors name the stream.
class StreamSink final : public ByteSink {
  public:
    StreamSink(std::FILE* stream, std::string name);
    void write(std::span<const std::uint8_t> bytes) override;
    void flush();

  private:
    std::FILE* stream_;
    std::string name_;
};

}  // namespace marnoq::io
