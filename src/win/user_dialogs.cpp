#include "win/user_dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "io/windows_text.h"
#include "window_model/message_text.h"

namespace marnoq::win {
namespace {

constexpr DWORD kBufferLength = 32767;
constexpr const wchar_t* kTitle = L"AES-Marnoq";
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
    MessageBoxW(owner, text.c_str(), title.empty() ? kTitle : title.c_str(), type);
}

// Four answers need a task dialog; a message box offers three of them where there is none.
jobs::ReplaceAnswer SystemDialogs::askReplace(HWND owner, const std::wstring& text) {
    constexpr int kFirstButton = 100;
    std::vector<std::wstring> labels;
    std::vector<TASKDIALOG_BUTTON> buttons;
    for (const char* label : window_model::kReplaceButtons) {
        labels.push_back(io::toUtf16(label));
    }
    for (std::size_t i = 0; i < labels.size(); ++i) {
        buttons.push_back({kFirstButton + static_cast<int>(i), labels[i].c_str()});
    }
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = kTitle;
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszContent = text.c_str();
    config.cButtons = static_cast<UINT>(buttons.size());
    config.pButtons = buttons.data();
    // Return keeps the older file: replacing is never the answer of a stray key.
    config.nDefaultButton = kFirstButton + 2;
    int pressed = 0;
    if (SUCCEEDED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
        return pressed >= kFirstButton && pressed < kFirstButton + 4
                   ? static_cast<jobs::ReplaceAnswer>(pressed - kFirstButton)
                   : jobs::ReplaceAnswer::Cancel;
    }
    switch (
        MessageBoxW(owner, text.c_str(), kTitle, MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2)) {
        case IDYES:
            return jobs::ReplaceAnswer::Replace;
        case IDNO:
            return jobs::ReplaceAnswer::Skip;
        default:
            return jobs::ReplaceAnswer::Cancel;
    }
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
