#pragma once

#include <cstdint>
#include <span>

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

}  // namespace marnoq::io
