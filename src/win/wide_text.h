#pragma once

#include <string>
#include <string_view>

namespace marnoq::win {

// The jobs speak UTF-8, the system's W functions UTF-16.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace marnoq::win
