#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace marnoq::test {

std::vector<std::uint8_t> fromHex(std::string_view hex);
std::string toHex(const std::vector<std::uint8_t>& bytes);

}  // namespace marnoq::test
