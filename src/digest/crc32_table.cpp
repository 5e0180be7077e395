#include <array>
#include <atomic>
#include <cstring>

#include "cpu/cpu_features.h"
#include "digest/crc32.h"
#include "digest/crc32_path.h"

namespace marnoq {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

using SliceTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr SliceTables makeTables() {
    SliceTables tables{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) != 0 ? (c >> 1) ^ kPolynomial : c >> 1;
        }
        tables[0][i] = c;
    }
    for (std::size_t t = 1; t < 8; ++t) {
        for (std::size_t i = 0; i < 256; ++i) {
            std::uint32_t previous = tables[t - 1][i];
            tables[t][i] = (previous >> 8) ^ tables[0][previous & 0xFFu];
        }
    }
    return tables;
}

constexpr SliceTables kTables = makeTables();
static_assert(kTables[0][1] == 0x77073096u && kTables[0][255] == 0x2D02EF8Du);

std::vector<const CrcPath*> probePaths() {
    std::vector<const CrcPath*> paths;
    if (cpu::features().pclmul) {
        paths.push_back(&kCrcClmulPath);
    }
    if (cpu::features().vpclmul) {
        paths.push_back(&kCrcVpclmulPath);
    }
    return paths;
}

std::atomic<const CrcPath*>& selected() {
    static std::atomic<const CrcPath*> path{
        availableCrcPaths().empty() ? nullptr : availableCrcPaths().back()};
    return path;
}

}  // namespace

std::uint32_t crc32Bytewise(std::uint32_t reg, const std::uint8_t* data, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        reg = (reg >> 8) ^ kTables[0][(reg ^ data[i]) & 0xFFu];
    }
    return reg;
}

std::uint32_t crc32Portable(std::uint32_t reg, const std::uint8_t* data, std::size_t length) {
    while (length >= 8) {
        std::uint32_t low;
        std::uint32_t high;
        std::memcpy(&low, data, 4);
        std::memcpy(&high, data + 4, 4);
        low ^= reg;
        reg = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^
              kTables[5][(low >> 16) & 0xFF] ^ kTables[4][low >> 24] ^
              kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF] ^
              kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24];
        data += 8;
        length -= 8;
    }
    return crc32Bytewise(reg, data, length);
}

std::uint64_t crcFoldConstant(unsigned exponent) {
    // x^exponent modulo the unreflected polynomial, then mirrored into the 33-bit form.
    constexpr std::uint64_t kNormal = 0x104C11DB7u;
    std::uint64_t r = 1;
    for (unsigned i = 0; i < exponent; ++i) {
        r <<= 1;
        if ((r >> 32) & 1u) {
            r ^= kNormal;
        }
    }
    std::uint64_t mirrored = 0;
    for (int bit = 0; bit < 32; ++bit) {
        mirrored |= ((r >> bit) & 1u) << (31 - bit);
    }
    return mirrored << 1;
}

const std::vector<const CrcPath*>& availableCrcPaths() {
    static const std::vector<const CrcPath*> paths = probePaths();
    return paths;
}

void selectCrcPath(const CrcPath* path) { selected().store(path); }

const char* crcPathName() {
    const CrcPath* path = selected().load(std::memory_order_relaxed);
    return path != nullptr ? path->name : "portable";
}

std::uint32_t crc32Update(std::uint32_t reg, const std::uint8_t* data, std::size_t length) {
    const CrcPath* path = selected().load(std::memory_order_relaxed);
    return path != nullptr ? path->update(reg, data, length) : crc32Portable(reg, data, length);
}

std::string crcHex(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xFu];
        value >>= 4;
    }
    return text;
}

}  // namespace marnoq
