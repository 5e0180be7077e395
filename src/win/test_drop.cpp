#include "win/test_drop.h"

#include <shlobj.h>

#include <cstring>

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

}  // namespace marnoq::win
