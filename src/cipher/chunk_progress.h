#pragma once

#include <cstddef>
#include <cstdint>

namespace marnoq {

inline constexpr std::size_t ChunkSize = 40000;

// The running percentage of one file operation: one step per 40000-byte chunk, summed in a
// 32-bit float exactly as the status line has always shown it.
class ChunkProgress {
public:
    explicit ChunkProgress(std::uint64_t bodyLength);

    // Chunks of the body rounded to the nearest whole number, halves to even.
    static std::uint64_t chunkCount(std::uint64_t bodyLength);

    float advance() {
        sum_ += step_;
        return sum_;
    }
    bool isExactlyHundred() const { return sum_ == 100.0f; }

private:
    float step_ = 0.0f;
    float sum_ = 0.0f;
};

}  // namespace marnoq
