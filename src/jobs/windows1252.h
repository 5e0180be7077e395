#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace marnoq::jobs {

// The key and the password hash are made of Windows-1252 bytes, whatever the locale, so that
// files open on every machine. nullopt when the text holds a character outside the code page
// (or is not valid UTF-8).
std::optional<std::string> toWindows1252(std::string_view utf8);
std::string fromWindows1252(std::string_view bytes);

// Appends a character below U+10000 in UTF-8.
void appendUtf8(std::string& out, char32_t cp);

}  // namespace marnoq::jobs
