#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace marnoq {

// SHA-1 (FIPS 180-1) of a text held as single-byte code-page characters.
class clsSHA {
public:
    // 40 upper-case hex digits. Empties inMessage, as callers have always relied on.
    std::string SHA1(std::string& inMessage);
    // The 20 digest bytes, one character each. Empties inMessage.
    std::string SHA1_string(std::string& inMessage);
};

std::array<std::uint8_t, 20> sha1Digest(std::span<const std::uint8_t> message);

}  // namespace marnoq
