#include "io/windows_text.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>

namespace marnoq::io {

std::wstring toUtf16(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(
                          ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(),
                          static_cast<int>(wide.size()));
    return wide;
}

std::string toUtf8(const std::wstring& utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int length = static_cast<int>(utf16.size());
    std::string narrow(static_cast<std::size_t>(::WideCharToMultiByte(
                           CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr)),
                       '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, narrow.data(),
                          static_cast<int>(narrow.size()), nullptr, nullptr);
    return narrow;
}

std::wstring longPath(const std::string& utf8) {
    std::wstring path = toUtf16(utf8);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.empty() || path.starts_with(LR"(\\?\)") || path.starts_with(LR"(\\.\)")) {
        return path;
    }
    // The prefix turns off the system's own clean-up of "." and "..", so that is done first.
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;  // the call that uses it fails with the system's own reason
    }
    std::wstring full(needed, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr));
    if (full.starts_with(LR"(\\)")) {
        return LR"(\\?\UNC\)" + full.substr(2);
    }
    return LR"(\\?\)" + full;
}

std::wstring argumentsText(const wchar_t* commandLine) {
    const wchar_t* text = commandLine;
    if (*text == L'"') {
        for (++text; *text != L'\0' && *text != L'"'; ++text) {
        }
        if (*text == L'"') {
            ++text;
        }
    } else {
        for (; *text != L'\0' && *text != L' ' && *text != L'\t'; ++text) {
        }
    }
    for (; *text == L' ' || *text == L'\t'; ++text) {
    }
    return text;
}

std::vector<std::string> commandLineArguments(const std::wstring& arguments) {
    // A stand-in program name: an empty text alone would give this program's path.
    int count = 0;
    wchar_t** items = ::CommandLineToArgvW((L"p " + arguments).c_str(), &count);
    std::vector<std::string> result;
    for (int i = 1; items != nullptr && i < count; ++i) {
        result.push_back(toUtf8(items[i]));
    }
    ::LocalFree(items);
    return result;
}

namespace {

// Whether each item of the text holds a quote of its own, by the splitting rule above.
std::vector<bool> quotedItems(const std::wstring& arguments) {
    std::vector<bool> quoted;
    bool inItem = false;
    bool inQuotes = false;
    std::size_t backslashes = 0;
    for (const wchar_t c : arguments) {
        if (!inQuotes && (c == L' ' || c == L'\t')) {
            inItem = false;
            backslashes = 0;
            continue;
        }
        if (!inItem) {
            quoted.push_back(false);
            inItem = true;
        }
        if (c == L'"' && backslashes % 2 == 0) {
            inQuotes = !inQuotes;
            quoted.back() = true;
        }
        backslashes = c == L'\\' ? backslashes + 1 : 0;
    }
    return quoted;
}

std::vector<std::string> matchingNames(const std::string& pattern) {
    const std::size_t slash = pattern.find_last_of("\\/:");
    const std::string folder = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileExW(toUtf16(pattern).c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(folder + toUtf8(name));
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

bool isNamePattern(const std::string& item) {
    const bool verbatim = item.starts_with(R"(\\?\)") || item.starts_with(R"(\\.\)");
    return item.find_first_of("*?", verbatim ? 4 : 0) != std::string::npos;
}

std::vector<std::string> expandedArguments(const std::wstring& arguments) {
    const std::vector<std::string> items = commandLineArguments(arguments);
    const std::vector<bool> quoted = quotedItems(arguments);
    if (quoted.size() != items.size()) {
        return items;  // a form the simple reading above does not follow: nothing is expanded
    }
    std::vector<std::string> expanded;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::vector<std::string> names =
            quoted[i] || !isNamePattern(items[i])
                ? std::vector<std::string>{}
                : matchingNames(items[i]);
        if (names.empty()) {
            expanded.push_back(items[i]);
        } else {
            expanded.insert(expanded.end(), names.begin(), names.end());
        }
    }
    return expanded;
}

}  // namespace marnoq::io
