#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace marnoq {

using CrcUpdate = std::uint32_t (*)(std::uint32_t reg, const std::uint8_t* data,
                                    std::size_t length);

struct CrcPath {
    const char* name;
    CrcUpdate update;
};

// The portable loop: slice-by-8 tables built at compile time.
std::uint32_t crc32Portable(std::uint32_t reg, const std::uint8_t* data, std::size_t length);
// The classic one-byte-per-step table loop: the reference the others are tested against.
std::uint32_t crc32Bytewise(std::uint32_t reg, const std::uint8_t* data, std::size_t length);

extern const CrcPath kCrcClmulPath;
extern const CrcPath kCrcVpclmulPath;

// Paths this processor can run beside the portable loop, fastest last.
const std::vector<const CrcPath*>& availableCrcPaths();
// nullptr selects the portable loop. For tests that compare every path.
void selectCrcPath(const CrcPath* path);
const char* crcPathName();

// Folding constants x^n mod P for the reflected polynomial, as the carry-less code wants them.
std::uint64_t crcFoldConstant(unsigned exponent);

}  // namespace marnoq
