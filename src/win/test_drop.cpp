#include "win/test_drop.h"

#include <shlobj.h>

#include <cstring>

#include "io/windows_text.h"

namespace marnoq::win {

HDROP dropHandle(const void* paths, DWORD bytes, POINT at) {
    const auto* text = static_cast<const wchar_t*>(paths);
    const size_t length = bytes / sizeof(wchar_t);
    if (text == nullptr || length < 2 || text[length - 1] != L'\0' || text[length - 2] != L'\0') {
        return nullptr;
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + length * sizeof(wchar_t));
    if (memory == nullptr) {
        return nullptr;
    }
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), text, length * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

bool sendDrop(HWND window, ULONG_PTR list, const std::vector<std::string>& paths) {
    std::wstring text;
    for (const std::string& path : paths) {
        text += io::toUtf16(path);
        text += L'\0';
    }
    text += L'\0';
    COPYDATASTRUCT data{list, static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
    DWORD_PTR taken = FALSE;
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, 10000, &taken) != 0 &&
           taken != FALSE;
}

}  // namespace marnoq::win
