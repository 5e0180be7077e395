#include "win/hand_over.h"

#include <direct.h>

#include <cstdlib>
#include <vector>

#include "io/windows_text.h"
#include "win/test_drop.h"
#include "window_model/command_line_split.h"

namespace marnoq::win {

StartTurn::StartTurn() : lock_(CreateMutexW(nullptr, FALSE, L"Local\\AES256-Marnoq-Start")) {
    // A start that hangs must not keep the others from opening windows of their own.
    if (lock_ != nullptr && WaitForSingleObject(lock_, 15000) == WAIT_TIMEOUT) {
        CloseHandle(lock_);
        lock_ = nullptr;
    }
}

StartTurn::~StartTurn() {
    end();
}

void StartTurn::end() {
    if (lock_ != nullptr) {
        ReleaseMutex(lock_);
        CloseHandle(lock_);
        lock_ = nullptr;
    }
}

bool handOverToRunningWindow(const std::wstring& arguments) {
    const auto request = window_model::windowArguments(io::commandLineArguments(arguments));
    if (request.request != window_model::WindowArguments::Request::Open || request.files.empty()) {
        return false;
    }
    // The class name of the main window (main_window.cpp).
    const HWND window = FindWindowW(L"AES256MarnoqMain", nullptr);
    if (window == nullptr) {
        return false;
    }
    wchar_t* folder = _wgetcwd(nullptr, 0);
    const auto files =
        window_model::sortCommandLine(request.files, io::toUtf8(folder != nullptr ? folder : L""));
    std::free(folder);
    const bool encrypt =
        !files.encrypt.empty() && sendDrop(window, kTestDropEncrypt, files.encrypt);
    const bool decrypt =
        !files.decrypt.empty() && sendDrop(window, kTestDropDecrypt, files.decrypt);
    if (!encrypt && !decrypt) {
        return false;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
    return true;
}

}  // namespace marnoq::win
