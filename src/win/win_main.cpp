#include <windows.h>

#include <commctrl.h>

#include <string>

#include "win/main_window.h"

namespace {

// The command line as Windows hands it over, without the program's own path in front.
std::wstring argumentsText() {
    const wchar_t* text = GetCommandLineW();
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    marnoq::win::SystemDialogs dialogs;
    marnoq::win::MainWindow window(instance, dialogs, argumentsText());
    ShowWindow(window.handle(), show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
