#pragma once

#include <filesystem>
#include <string>

namespace marnoq::io {

// Our texts are UTF-8; std::filesystem reads plain strings in the ANSI code page on Windows.
inline std::filesystem::path utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace marnoq::io
