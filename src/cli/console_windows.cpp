#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>

#include "cli/console.h"
#include "io/windows_text.h"

namespace marnoq::cli {
namespace {

StopFlag* stopTarget = nullptr;
UINT savedCodePage = 0;
DWORD savedErrorMode = 0;

// The console belongs to the shell that started us: it gets its settings back.
void restoreConsole() {
    ::SetConsoleOutputCP(savedCodePage);
    ::SetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), savedErrorMode);
}

BOOL WINAPI onStop(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    stopTarget->store(SIGINT);
    return TRUE;
}

}  // namespace

std::vector<std::string> programArguments(int, char**) {
    std::vector<std::string> arguments =
        io::expandedArguments(io::argumentsText(::GetCommandLineW()));
    // Double-clicked in Explorer: the console is ours alone and would close before anyone
    // could read the usage.
    DWORD processes[2] = {};
    if (arguments.empty() && ::GetConsoleProcessList(processes, 2) == 1) {
        std::fputs(
            "aes-marnoq-cli ist ein Programm für die Eingabeaufforderung oder PowerShell, zum "
            "Beispiel:\n"
            "  aes-marnoq-cli encrypt C:\\Daten\\brief.txt\n"
            "\"aes-marnoq-cli --help\" zeigt alle Befehle. Mit der Maus arbeitet man in "
            "AES-Marnoq.exe.\n\n"
            "Weiter mit einer beliebigen Taste ...\n",
            stderr);
        ::_getwch();
        std::exit(2);
    }
    return arguments;
}

void prepareConsole(StopFlag* stopSignal) {
    stopTarget = stopSignal;
    ::SetConsoleCtrlHandler(onStop, TRUE);
    // Encrypted and decrypted bytes pass through the standard streams unchanged.
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    savedCodePage = ::GetConsoleOutputCP();
    if (savedCodePage == 0) {
        return;  // no console: nothing to set or restore
    }
    std::atexit(restoreConsole);
    ::SetConsoleOutputCP(CP_UTF8);
    // The status line redraws itself with the terminal sequences POSIX terminals understand.
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (::GetConsoleMode(error, &savedErrorMode) != 0) {
        ::SetConsoleMode(error, savedErrorMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}

bool stopRequested(const StopFlag* stopSignal, bool /*pendingToo*/) {
    return stopSignal != nullptr && stopSignal->load() != 0;
}

bool isTerminal(std::FILE* stream) {
    DWORD mode = 0;
    return ::GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream))), &mode) !=
           0;
}

int terminalColumns(std::FILE* stream) {
    CONSOLE_SCREEN_BUFFER_INFO console{};
    if (::GetConsoleScreenBufferInfo(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream))),
                                     &console) == 0) {
        return 0;
    }
    return console.srWindow.Right - console.srWindow.Left + 1;
}

// Ctrl+C arrives on a thread of its own here and interrupts no write.
int writeWhole(std::FILE* stream, std::string_view text, const StopFlag*) {
    if (std::fflush(stream) != 0) {
        return errno;
    }
    const int fd = ::_fileno(stream);
    while (!text.empty()) {
        const auto count = static_cast<unsigned>(std::min<std::size_t>(text.size(), INT_MAX));
        const int put = ::_write(fd, text.data(), count);
        if (put <= 0) {
            return put < 0 ? errno : EIO;
        }
        text.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

}  // namespace marnoq::cli
