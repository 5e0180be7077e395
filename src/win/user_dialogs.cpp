#include "win/user_dialogs.h"

#include <commdlg.h>

#include <algorithm>

namespace marnoq::win {
namespace {

constexpr DWORD kBufferLength = 32767;
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST |
                             OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;

// "|" separates the filter's parts; the dialog wants them ended by L'\0', the list by two.
std::wstring dialogFilter(const std::wstring& filter) {
    std::wstring text = filter + L"||";
    std::replace(text.begin(), text.end(), L'|', L'\0');
    return text;
}

// The dialog appends its default extension without the dot; a pattern of every extension
// ("*.*") has nothing to append.
std::wstring appendedExtension(const std::wstring& pattern) {
    const auto dot = pattern.rfind(L'.');
    const std::wstring extension = dot == std::wstring::npos ? pattern : pattern.substr(dot + 1);
    return extension.find(L'*') == std::wstring::npos ? extension : std::wstring();
}

}  // namespace

void SystemDialogs::message(HWND owner, const std::wstring& text, jobs::MessageIcon icon,
                            const std::wstring& title) {
    const UINT type = MB_OK | (icon == jobs::MessageIcon::Exclamation ? MB_ICONEXCLAMATION : 0);
    MessageBoxW(owner, text.c_str(), title.empty() ? L"AES-Marnoq" : title.c_str(), type);
}

std::wstring SystemDialogs::showOpen(HWND owner, const OpenRequest& request) {
    std::wstring buffer(kBufferLength, L'\0');
    const std::wstring filter = dialogFilter(request.filter);
    const std::wstring extension = appendedExtension(request.defaultExt);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kBufferLength;
    dialog.lpstrInitialDir = request.initialDirectory.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = kOpenFlags;
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    if (!GetOpenFileNameW(&dialog)) {
        return {};
    }
    // The selection ends at the first two L'\0' in a row.
    const auto end = buffer.find(std::wstring_view(L"\0\0", 2));
    return buffer.substr(0, end);
}

}  // namespace marnoq::win
