#include <windows.h>

#include <commctrl.h>

#include <string>

#include "io/windows_text.h"
#include "win/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    marnoq::win::SystemDialogs dialogs;
    marnoq::win::MainWindow window(instance, dialogs, marnoq::io::argumentsText(GetCommandLineW()));
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
