#pragma once

#include <windows.h>

namespace marnoq::win {

// Registers a top-level window class with the program's icon and a background brush.
void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int icon,
                         HBRUSH background);

// The procedure of a window owned by an object: CreateWindowExW's last argument is the object,
// which learns its handle through attachWindow and gets every message in handleMessage.
template <typename Owner>
LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        owner->attachWindow(window);
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return owner != nullptr ? owner->handleMessage(message, wParam, lParam)
                            : DefWindowProcW(window, message, wParam, lParam);
}

// WM_DPICHANGED: the system's suggested place and size for the new resolution.
void moveToSuggestedRect(HWND window, LPARAM suggested);

}  // namespace marnoq::win
