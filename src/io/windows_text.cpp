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

}  // namespace marnoq::io
