#pragma once

#include <string>
#include <vector>

namespace marnoq::io {

// Texts are UTF-8 inside the program; Windows' wide functions take UTF-16.
std::wstring toUtf16(const std::string& utf8);
std::string toUtf8(const std::wstring& utf16);

// The full UTF-16 form of a path as a user types it (relative, "C:\...", "\\server\share\...",
// forward slashes), with the "\\?\" prefix that lifts the 260-character limit.
std::wstring longPath(const std::string& utf8);

// A command line without the program's path in front, which Windows' rule for the first item
// (up to the closing quote, or else the first blank) ends.
std::wstring argumentsText(const wchar_t* commandLine);

// The items of such a text by the system's own rule: blanks outside quotes separate, a quote
// after an odd number of backslashes is kept. Windows quotes only paths that hold a blank.
std::vector<std::string> commandLineArguments(const std::wstring& arguments);

// Whether an argument is a pattern: a "*" or "?" beyond the prefix of verbatim and device
// names ("\\?\", "\\.\"), whose "?" is part of the name.
bool isNamePattern(const std::string& item);

// The same items with "*" and "?" expanded, as the command line of Unix systems has it from its
// shell: an unquoted item with them names the matching entries of its folder, sorted; one that
// matches nothing stays as written (no file can have these characters in its name).
std::vector<std::string> expandedArguments(const std::wstring& arguments);

}  // namespace marnoq::io
