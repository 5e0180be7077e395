#pragma once

#include <string>

namespace marnoq::io {

// Texts are UTF-8 inside the program; Windows' wide functions take UTF-16.
std::wstring toUtf16(const std::string& utf8);
std::string toUtf8(const std::wstring& utf16);

// The full UTF-16 form of a path as a user types it (relative, "C:\...", "\\server\share\...",
// forward slashes), with the "\\?\" prefix that lifts the 260-character limit.
std::wstring longPath(const std::string& utf8);

}  // namespace marnoq::io
