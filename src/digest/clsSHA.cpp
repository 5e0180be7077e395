#include "digest/clsSHA.h"

#include <bit>
#include <vector>

#include "secure/wipe.h"

namespace marnoq {
namespace {

std::uint32_t loadBigEndian(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 |
           std::uint32_t{p[3]};
}

void compress(std::array<std::uint32_t, 5>& h, const std::uint8_t* block) {
    std::uint32_t w[80];
    for (int t = 0; t < 16; ++t) {
        w[t] = loadBigEndian(block + 4 * t);
    }
    for (int t = 16; t < 80; ++t) {
        w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
    }
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (int t = 0; t < 80; ++t) {
        std::uint32_t f;
        std::uint32_t k;
        if (t < 20) {
            f = (b & c) | (~b & d), k = 0x5A827999;
        } else if (t < 40) {
            f = b ^ c ^ d, k = 0x6ED9EBA1;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d, k = 0xCA62C1D6;
        }
        std::uint32_t temp = std::rotl(a, 5) + f + e + w[t] + k;
        e = d, d = c, c = std::rotl(b, 30), b = a, a = temp;
    }
    h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
    secureWipe(std::span(w));
}

}  // namespace

std::array<std::uint8_t, 20> sha1Digest(std::span<const std::uint8_t> message) {
    std::array<std::uint32_t, 5> h{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    const std::size_t whole = message.size() / 64;
    for (std::size_t i = 0; i < whole; ++i) {
        compress(h, message.data() + 64 * i);
    }
    // The tail with its padding: one block, or two when fewer than 9 bytes are left free.
    std::array<std::uint8_t, 128> tail{};
    const std::size_t rest = message.size() % 64;
    std::copy(message.begin() + static_cast<std::ptrdiff_t>(64 * whole), message.end(),
              tail.begin());
    tail[rest] = 0x80;
    const std::size_t tailLength = rest < 56 ? 64 : 128;
    const std::uint64_t bits = static_cast<std::uint64_t>(message.size()) * 8;
    for (int i = 0; i < 8; ++i) {
        tail[tailLength - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    for (std::size_t offset = 0; offset < tailLength; offset += 64) {
        compress(h, tail.data() + offset);
    }
    secureWipe(std::span(tail));

    std::array<std::uint8_t, 20> digest{};
    for (int i = 0; i < 5; ++i) {
        for (int k = 0; k < 4; ++k) {
            digest[4 * i + k] = static_cast<std::uint8_t>(h[i] >> (24 - 8 * k));
        }
    }
    return digest;
}

std::string clsSHA::SHA1(std::string& inMessage) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string raw = SHA1_string(inMessage);
    std::string hex;
    for (char c : raw) {
        auto byte = static_cast<std::uint8_t>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

std::string clsSHA::SHA1_string(std::string& inMessage) {
    auto digest = sha1Digest(
        std::span(reinterpret_cast<const std::uint8_t*>(inMessage.data()), inMessage.size()));
    secureWipe(inMessage);
    return std::string(digest.begin(), digest.end());
}

}  // namespace marnoq
