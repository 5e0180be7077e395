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
    return io::expandedArguments(io::argumentsText(::GetCommandLineW()));
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
