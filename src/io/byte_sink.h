#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace marnoq::io {

// Where processed bytes go: a file, a temporary output, or nowhere (verification).
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
};

class DiscardingSink final : public ByteSink {
  public:
    void write(std::span<const std::uint8_t>) override {}
};

// Holds a small output in memory, so that it reaches its file in one write with every field
// already in place. Only for bytes that may be kept in ordinary memory, such as cipher text.
class CollectingSink final : public ByteSink {
  public:
    void write(std::span<const std::uint8_t> bytes) override {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    // Overwrites bytes already collected, starting at `offset`.
    void overwrite(std::size_t offset, std::string_view text) {
        std::copy(text.begin(), text.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace marnoq::io
