#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace marnoq {

// A hardware implementation of whole-block AES on a schedule laid out as cRijndael keeps it
// (round keys as little-endian words; the decryption keys for the equivalent inverse cipher).
struct BlockPath {
    const char* name;
    void (*encrypt)(const std::uint32_t* roundKeys, int rounds, const std::uint8_t* in,
                    std::uint8_t* out, std::size_t blocks);
    void (*decrypt)(const std::uint32_t* roundKeys, int rounds, const std::uint8_t* in,
                    std::uint8_t* out, std::size_t blocks);
};

// The paths this processor can run, fastest last; empty where only the tables serve.
const std::vector<const BlockPath*>& availableBlockPaths();

// The path the cipher uses now: the fastest available, or nullptr for the table code.
const BlockPath* hardwareBlockPath();
// Chooses the path (nullptr: the tables). For tests that compare every path.
void selectBlockPath(const BlockPath* path);

// Defined in their own files; only called when the processor has the feature.
extern const BlockPath kAesNiPath;
extern const BlockPath kVaesPath;

}  // namespace marnoq
