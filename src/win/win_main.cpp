#include <windows.h>

#include <commctrl.h>

#include <string>

#include "io/windows_text.h"
#include "win/dpi.h"
#include "win/hand_over.h"
#include "win/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    if (!marnoq::win::systemSupported()) {
        MessageBoxW(nullptr,
                    L"AES-Marnoq braucht Windows 10 Version 1607 oder neuer. Auf diesem System "
                    L"fehlen die Funktionen für die Anzeige in der Auflösung jedes "
                    L"Bildschirms.",
                    L"AES-Marnoq", MB_OK | MB_ICONERROR);
        return 1;
    }
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const std::wstring arguments = marnoq::io::argumentsText(GetCommandLineW());
    marnoq::win::StartTurn turn;
    if (marnoq::win::handOverToRunningWindow(arguments)) {
        return 0;
    }
    marnoq::win::SystemDialogs dialogs;
    marnoq::win::MainWindow window(instance, dialogs, arguments);
    ShowWindow(window.handle(), show);
    turn.end();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
