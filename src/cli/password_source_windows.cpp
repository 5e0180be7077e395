#include <windows.h>

#include <unistd.h>
#include <cerrno>

#include "cli/password_line.h"
#include "cli/password_source.h"
#include "io/windows_file_api.h"
#include "io/windows_text.h"
#include "jobs/messages.h"

namespace marnoq::cli {
namespace {

// A descriptor of the C runtime, a byte at a time; a stop from the console waits for Return.
class DescriptorSource : public ByteSource {
  public:
    explicit DescriptorSource(int fd) : fd_(fd) {}
    Next next(char& byte) override { return ::read(fd_, &byte, 1) == 1 ? Next::Byte : Next::End; }

  private:
    int fd_;
};

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

// The console's line in UTF-8, a byte at a time: line input hands out what was typed up to
// Return, a character at a time, without echo.
class ConsoleSource : public ByteSource {
  public:
    explicit ConsoleSource(HANDLE input) : input_(input) {}
    ConsoleSource(const ConsoleSource&) = delete;
    ConsoleSource& operator=(const ConsoleSource&) = delete;
    ~ConsoleSource() override { secureWipe(bytes_, sizeof bytes_); }

    Next next(char& byte) override {
        if (at_ == size_ && !readCharacter()) {
            return Next::End;
        }
        byte = bytes_[at_++];
        return Next::Byte;
    }

  private:
    bool readCharacter() {
        wchar_t units[2] = {};
        DWORD read = 0;
        int count = 0;
        if (::ReadConsoleW(input_, units, 1, &read, nullptr) != 0 && read == 1) {
            count = 1;
            const bool firstOfPair = units[0] >= 0xD800 && units[0] < 0xDC00;
            if (firstOfPair && ::ReadConsoleW(input_, units + 1, 1, &read, nullptr) != 0) {
                count += static_cast<int>(read);
            }
        }
        size_ = count == 0 ? 0
                           : ::WideCharToMultiByte(CP_UTF8, 0, units, count, bytes_, sizeof bytes_,
                                                   nullptr, nullptr);
        at_ = 0;
        secureWipe(units, sizeof units);
        return size_ > 0;
    }

    HANDLE input_;
    char bytes_[8] = {};
    int size_ = 0;
    int at_ = 0;
};

// Asks on the console with echo switched off, restoring it afterwards.
bool askWithoutEcho(const char* prompt, SecretString& answer, PasswordOutcome& outcome) {
    const ConsoleHandle input(L"CONIN$");
    const ConsoleHandle output(L"CONOUT$");
    DWORD saved = 0;
    if (!input.valid() || !output.valid() || ::GetConsoleMode(input.get(), &saved) == 0) {
        outcome.error = kNoTerminalMessage;
        return false;
    }
    ::SetConsoleMode(input.get(),
                     (saved | ENABLE_LINE_INPUT) & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    writeConsole(output.get(), io::toUtf16(prompt));
    ConsoleSource source(input.get());
    const LineRead read = readPasswordLine(source, answer.str());
    if (read == LineRead::TooLong) {
        ::FlushConsoleInputBuffer(input.get());  // the rest is no command for the shell
    }
    ::SetConsoleMode(input.get(), saved);
    writeConsole(output.get(), L"\r\n");
    return !lineFailed(read, "dem Terminal", nullptr, outcome);
}

PasswordOutcome fromTerminal(bool twice) {
    PasswordOutcome outcome;
    Passwords typed;
    if (askWithoutEcho("Passwort: ", typed.first, outcome) &&
        (!twice || askWithoutEcho("Wiederholung: ", typed.repeat, outcome))) {
        if (!twice) {
            typed.repeat = typed.first;
        }
        outcome.passwords = std::move(typed);
    }
    return outcome;
}

PasswordOutcome fromLine(int fd, const std::string& where) {
    DescriptorSource source(fd);
    return passwordFromLine(source, where, nullptr);
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
