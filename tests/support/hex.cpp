#include "support/hex.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace marnoq::test {

std::vector<std::uint8_t> fromHex(std::string_view hex) {
    std::string digits;
    std::copy_if(hex.begin(), hex.end(), std::back_inserter(digits),
                 [](char c) { return !std::isspace(static_cast<unsigned char>(c)); });
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() / 2);  // no partial copies left in freed memory by growing
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::string toHex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (auto b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0xF];
    }
    return text;
}

}  // namespace marnoq::test
