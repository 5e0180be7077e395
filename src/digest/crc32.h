#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace marnoq {

// One step of the IEEE 802.3 CRC-32 (reflected 0xEDB88320) on the running register, through
// the fastest path this processor offers.
std::uint32_t crc32Update(std::uint32_t reg, const std::uint8_t* data, std::size_t length);

// The running checksum of a byte stream: preset to all ones, complemented when read.
class Crc32 {
public:
    void update(std::span<const std::uint8_t> bytes) {
        reg_ = crc32Update(reg_, bytes.data(), bytes.size());
    }
    std::uint32_t value() const { return ~reg_; }

private:
    std::uint32_t reg_ = 0xFFFFFFFFu;
};

// Eight upper-case hexadecimal digits, leading zeros kept.
std::string crcHex(std::uint32_t value);

}  // namespace marnoq
