#include <windows.h>

#include <unistd.h>
#include <cerrno>

#include "cli/password_source.h"
#include "cli/password_text.h"
#include "io/windows_file_api.h"
#include "io/windows_text.h"
#include "jobs/messages.h"

namespace marnoq::cli {
namespace {

// Far above any password the format can use, as read: UTF-16 takes two bytes a character.
constexpr std::size_t kMaxBytes = 4096;

// Reads the first line, in any encoding an editor writes (password_text.h); the line end is
// not part of the password.
enum class LineRead { Line, Nothing, TooLong };

LineRead readLine(int fd, std::string& line) {
    line.clear();
    // Reserved once: a growing string would leave copies of the password in freed memory.
    SecretString raw;
    raw.str().reserve(kMaxBytes);
    line.reserve(3 * kMaxBytes);
    char c = 0;
    while (raw.str().size() < kMaxBytes && ::read(fd, &c, 1) == 1) {
        raw.str() += c;
        if (holdsFirstLine(raw.str())) {
            break;
        }
    }
    if (raw.str().size() == kMaxBytes && !holdsFirstLine(raw.str())) {
        return LineRead::TooLong;
    }
    appendFirstLine(raw.str(), line);
    return raw.str().empty() ? LineRead::Nothing : LineRead::Line;
}

class ConsoleHandle {
  public:
    explicit ConsoleHandle(const wchar_t* name)
        : handle_(::CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr)) {}
    ConsoleHandle(const ConsoleHandle&) = delete;
    ConsoleHandle& operator=(const ConsoleHandle&) = delete;
    ~ConsoleHandle() {
        if (valid()) {
            ::CloseHandle(handle_);
        }
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

void writeConsole(HANDLE console, const std::wstring& text) {
    DWORD written = 0;
    ::WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

enum class HiddenAnswer { Typed, NoTerminal, NothingTyped };

// Asks on the console with echo switched off, restoring it afterwards.
HiddenAnswer askWithoutEcho(const std::string& prompt, SecretString& answer) {
    const ConsoleHandle input(L"CONIN$");
    const ConsoleHandle output(L"CONOUT$");
    DWORD saved = 0;
    if (!input.valid() || !output.valid() || ::GetConsoleMode(input.get(), &saved) == 0) {
        return HiddenAnswer::NoTerminal;
    }
    ::SetConsoleMode(input.get(),
                     (saved | ENABLE_LINE_INPUT) & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    writeConsole(output.get(), io::toUtf16(prompt));
    std::wstring typed(256, L'\0');
    DWORD read = 0;
    const bool any = ::ReadConsoleW(input.get(), typed.data(), static_cast<DWORD>(typed.size()),
                                    &read, nullptr) != 0 &&
                     read > 0;
    ::SetConsoleMode(input.get(), saved);
    writeConsole(output.get(), L"\r\n");
    typed.resize(read);
    while (!typed.empty() && (typed.back() == L'\n' || typed.back() == L'\r')) {
        typed.pop_back();
    }
    answer.str() = io::toUtf8(typed);
    secureWipe(typed.data(), typed.size() * sizeof(wchar_t));
    return any ? HiddenAnswer::Typed : HiddenAnswer::NothingTyped;
}

PasswordOutcome fromTerminal(bool twice) {
    PasswordOutcome outcome;
    Passwords typed;
    HiddenAnswer answer = askWithoutEcho("Passwort: ", typed.first);
    typed.repeat = typed.first;
    if (answer == HiddenAnswer::Typed && twice) {
        answer = askWithoutEcho("Wiederholung: ", typed.repeat);
    }
    switch (answer) {
        case HiddenAnswer::Typed:
            outcome.passwords = typed;
            break;
        case HiddenAnswer::NoTerminal:
            outcome.error =
                "Kein Terminal für die Passworteingabe. Bitte --password-file oder "
                "--password-stdin verwenden.";
            break;
        case HiddenAnswer::NothingTyped:
            outcome.error = "Keine Passworteingabe erhalten.";
            break;
    }
    return outcome;
}

PasswordOutcome fromLine(int fd, const std::string& where) {
    PasswordOutcome outcome;
    SecretString line;
    const LineRead read = readLine(fd, line.str());
    if (read != LineRead::Line) {
        outcome.error = read == LineRead::Nothing
                            ? "Kein Passwort gelesen aus " + where + "."
                            : "Die erste Zeile aus " + where + " ist länger als " +
                                  std::to_string(kMaxBytes) + " Bytes; das ist kein Passwort.";
        return outcome;
    }
    outcome.passwords = Passwords{line, line};
    return outcome;
}

// Windows keeps access in lists the folder hands down; there is no simple bit to warn on.
PasswordOutcome fromFile(const std::string& path) {
    HANDLE handle = ::CreateFileW(io::longPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        PasswordOutcome outcome;
        outcome.error = "Die Passwortdatei " + path +
                        " kann nicht gelesen werden: " + jobs::reasonText(io::lastErrno());
        return outcome;
    }
    const io::UniqueFd fd = io::adoptHandle(handle);
    return fromLine(fd.get(), path);
}

}  // namespace

// A stop request from the console arrives between files; the prompt itself ends with Return.
PasswordOutcome obtainPasswords(const Options& options, bool twice, std::FILE* standardInput,
                                const StopFlag*) {
    switch (options.passwordSource) {
        case PasswordSource::File:
            return fromFile(options.passwordFile);
        case PasswordSource::Stdin:
            return fromLine(::fileno(standardInput), "der Standardeingabe");
        case PasswordSource::Terminal:
            return fromTerminal(twice);
    }
    return {};
}

}  // namespace marnoq::cli
