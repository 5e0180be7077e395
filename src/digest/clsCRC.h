#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace marnoq {

// CRC-32 with a running register kept between calls, and the file checksum as 8 hex digits.
class clsCRC {
public:
    clsCRC() { Clear(); }

    std::int32_t AddBytes(std::span<const std::uint8_t> ByteArray);
    // Exactly AddBytes: it continues from the register, it does not clear it.
    std::int32_t CalculateBytes(std::span<const std::uint8_t> ByteArray) {
        return AddBytes(ByteArray);
    }
    // The complement of the register.
    std::int32_t Value() const { return static_cast<std::int32_t>(~register_); }
    // Sets the register itself; a value outside the signed 32-bit range is refused.
    void Value(std::int64_t New_Value);
    void Clear() { register_ = 0xFFFFFFFFu; }

    // Reads the file in 4096-byte chunks, the last 2 to 4097 bytes as one, letting events run
    // after each chunk. A file of one byte is never read and gives "00000000", like an empty
    // one: encrypted files made from one-byte files carry that text and must keep verifying.
    std::string CalculateFile(const std::string& strFilePath,
                              const std::function<void()>& letEventsRun = {});

private:
    std::uint32_t register_ = 0xFFFFFFFFu;
};

}  // namespace marnoq
