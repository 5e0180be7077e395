#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "cli/console.h"
#include "io/windows_file_api.h"
#include "io/windows_text.h"

namespace marnoq::cli {
namespace {

volatile std::sig_atomic_t* stopTarget = nullptr;

BOOL WINAPI onStop(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    *stopTarget = SIGINT;
    return TRUE;
}

}  // namespace

std::vector<std::string> programArguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        arguments.push_back(io::toUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

void prepareConsole(volatile std::sig_atomic_t* stopSignal) {
    stopTarget = stopSignal;
    ::SetConsoleCtrlHandler(onStop, TRUE);
    ::SetConsoleOutputCP(CP_UTF8);
    // The status line redraws itself with the terminal sequences POSIX terminals understand.
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (::GetConsoleMode(error, &mode) != 0) {
        ::SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
    // Encrypted and decrypted bytes pass through the standard streams unchanged.
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

bool isTerminal(std::FILE* stream) {
    DWORD mode = 0;
    return ::GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream))), &mode) !=
           0;
}

}  // namespace marnoq::cli
