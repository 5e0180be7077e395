// The window test's eyes inside Wine: where a control of the running window lies on the
// screen, what it reads, what its lists hold, what a message box says, and the drops X cannot
// deliver.
#include <windows.h>

#include <cstdio>
#include <string>

#include "io/windows_text.h"
#include "win/main_window_controls.h"
#include "win/test_drop.h"

namespace {

using marnoq::io::toUtf8;

constexpr int kWaitSteps = 300;  // tenths of a second

HWND mainWindow() {
    return FindWindowW(L"AES256MarnoqMain", nullptr);
}

HWND controlOf(const char* name) {
    return GetDlgItem(mainWindow(), marnoq::win::controlId(name));
}

std::string textOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return toUtf8(text);
}

int where(const char* name) {
    RECT box{};
    if (!GetWindowRect(controlOf(name), &box)) {
        return 1;
    }
    std::printf("%ld %ld\n", (box.left + box.right) / 2, (box.top + box.bottom) / 2);
    return 0;
}

// Whether the control has the keyboard focus, which the window's thread alone holds.
int hasFocus(const char* name) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    const bool read = GetGUIThreadInfo(GetWindowThreadProcessId(mainWindow(), nullptr), &thread);
    return read && thread.hwndFocus != nullptr && thread.hwndFocus == controlOf(name) ? 0 : 1;
}

// The entries of a list, one a line.
int entries(const char* name) {
    HWND list = controlOf(name);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        std::printf("%s\n", toUtf8(text).c_str());
    }
    return count < 0 ? 1 : 0;
}

// Waits for the program's message box and prints its text, lines as "|".
int message() {
    for (int step = 0; step < kWaitSteps; ++step) {
        if (HWND box = FindWindowW(L"#32770", L"AES-Marnoq")) {
            std::string lines;
            for (char c : textOf(GetDlgItem(box, 0xFFFF))) {
                if (c != '\r') {
                    lines += c == '\n' ? '|' : c;
                }
            }
            std::printf("%s\n", lines.c_str());
            return 0;
        }
        Sleep(100);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "where" && argc == 3) {
        return where(argv[2]);
    }
    if (command == "text" && argc == 3) {
        std::printf("%s\n", textOf(controlOf(argv[2])).c_str());
        return 0;
    }
    if (command == "focus" && argc == 3) {
        return hasFocus(argv[2]);
    }
    if (command == "entries" && argc == 3) {
        return entries(argv[2]);
    }
    if (command == "drop" && argc > 3) {
        const bool decrypt = std::string(argv[2]) == "decrypt";
        return marnoq::win::sendDrop(
                   mainWindow(),
                   decrypt ? marnoq::win::kTestDropDecrypt : marnoq::win::kTestDropEncrypt,
                   {argv + 3, argv + argc})
                   ? 0
                   : 1;
    }
    if (command == "message" && argc == 2) {
        return message();
    }
    std::fprintf(stderr,
                 "Aufruf: window_probe where|text|entries|focus NAME | drop encrypt|decrypt "
                 "PFAD... | message\n");
    return 2;
}
