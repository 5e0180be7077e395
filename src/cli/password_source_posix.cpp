#include "cli/password_source.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "cli/password_line.h"
#include "io/unique_fd.h"
#include "jobs/messages.h"

namespace marnoq::cli {
namespace {

constexpr int kPollMilliseconds = 100;

bool stopped(const StopFlag* stop) {
    return stop != nullptr && stop->load() != 0;
}

// A descriptor read a byte at a time, waiting in short steps, so a stop signal that lands just
// before a blocking read is not lost.
class DescriptorSource : public ByteSource {
  public:
    DescriptorSource(int fd, const StopFlag* stop) : fd_(fd), stop_(stop) {}

    Next next(char& byte) override {
        for (;;) {
            if (stopped(stop_)) {
                return Next::Stopped;
            }
            pollfd wanted{fd_, POLLIN, 0};
            const int ready = ::poll(&wanted, 1, kPollMilliseconds);
            if (ready == 0 || (ready < 0 && errno == EINTR)) {
                continue;
            }
            const ssize_t got = ::read(fd_, &byte, 1);  // data, end or error: the read says which
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
                continue;
            }
            return got == 1 ? Next::Byte : Next::End;
        }
    }

  private:
    int fd_;
    const StopFlag* stop_;
};

void writeText(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put <= 0) {
            return;
        }
        done += static_cast<std::size_t>(put);
    }
}

// What a stop at the prompt (Ctrl-Z) needs: the terminal as the user had it, and as the prompt
// has it. Set only while an EchoOff lives.
int stoppedTty = -1;
termios userTerminal{};
termios promptTerminal{};
const char* shownPrompt = "";

// Gives the user the echo back while stopped; after fg, takes it away and asks again.
void onTerminalStop(int) {
    const int savedErrno = errno;
    ::tcsetattr(stoppedTty, TCSANOW, &userTerminal);
    ::kill(::getpid(), SIGSTOP);
    ::tcsetattr(stoppedTty, TCSANOW, &promptTerminal);
    // Nothing to do if the terminal takes no more text.
    if (::write(stoppedTty, "\n", 1) == 1) {
        [[maybe_unused]] const ssize_t put =
            ::write(stoppedTty, shownPrompt, std::strlen(shownPrompt));
    }
    errno = savedErrno;
}

// Echo off for the life of the object; restored on every way out of the prompt.
class EchoOff {
  public:
    EchoOff(int tty, const char* prompt)
        : tty_(tty), active_(::tcgetattr(tty, &userTerminal) == 0) {
        if (active_) {
            promptTerminal = userTerminal;
            promptTerminal.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            promptTerminal.c_lflag |= ECHONL;
            stoppedTty = tty;
            shownPrompt = prompt;
            struct sigaction action {};
            action.sa_handler = onTerminalStop;
            sigemptyset(&action.sa_mask);
            ::sigaction(SIGTSTP, &action, &previousStop_);
            ::tcsetattr(tty_, TCSAFLUSH, &promptTerminal);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    ~EchoOff() {
        if (active_) {
            ::sigaction(SIGTSTP, &previousStop_, nullptr);
            ::tcsetattr(tty_, TCSAFLUSH, &userTerminal);
        }
    }

  private:
    int tty_;
    bool active_;
    struct sigaction previousStop_ {};
};

PasswordOutcome fromTerminal(bool twice, const StopFlag* stop) {
    PasswordOutcome outcome;
    io::UniqueFd tty(::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (!tty.valid()) {
        outcome.error = kNoTerminalMessage;
        return outcome;
    }
    Passwords typed;
    for (int round = 0; round < (twice ? 2 : 1); ++round) {
        SecretString& line = round == 0 ? typed.first : typed.repeat;
        LineRead result = LineRead::Nothing;
        {
            const char* prompt = round == 0 ? "Passwort: " : "Wiederholung: ";
            EchoOff quiet(tty.get(), prompt);
            writeText(tty.get(), prompt);
            DescriptorSource source(tty.get(), stop);
            result = readPasswordLine(source, line.str());
        }
        if (result == LineRead::Stopped) {
            writeText(tty.get(), "\n");
        }
        if (lineFailed(result, "dem Terminal", stop, outcome)) {
            return outcome;
        }
    }
    if (!twice) {
        typed.repeat = typed.first;
    }
    outcome.passwords = std::move(typed);
    return outcome;
}

PasswordOutcome fromLine(int fd, const std::string& where, const StopFlag* stop) {
    DescriptorSource source(fd, stop);
    return passwordFromLine(source, where, stop);
}

PasswordOutcome fromFile(const std::string& path, const StopFlag* stop) {
    io::UniqueFd fd;
    // Opening a pipe waits for its writer; a stop signal ends the wait.
    while (!fd.valid()) {
        fd.reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
        if (fd.valid() || errno != EINTR || stopped(stop)) {
            break;
        }
    }
    PasswordOutcome outcome;
    if (!fd.valid()) {
        if (stopped(stop)) {
            outcome.stopSignal = stop->load();
        } else {
            outcome.error = "Die Passwortdatei " + path +
                            " kann nicht gelesen werden: " + jobs::reasonText(errno);
        }
        return outcome;
    }
    struct stat info {};
    const bool examined = ::fstat(fd.get(), &info) == 0;
    if (examined && S_ISDIR(info.st_mode)) {
        outcome.error = "Die Passwortdatei " + path + " ist ein Ordner.";
        return outcome;
    }
    outcome = fromLine(fd.get(), path, stop);
    if (examined && S_ISREG(info.st_mode) && (info.st_mode & 0077) != 0) {
        outcome.warnings.push_back("Warnung: Die Passwortdatei " + path +
                                   " ist für andere Benutzer lesbar (chmod 600 empfohlen).");
    }
    return outcome;
}

}  // namespace

PasswordOutcome obtainPasswords(const Options& options, bool twice, std::FILE* standardInput,
                                const StopFlag* stop) {
    switch (options.passwordSource) {
        case PasswordSource::File:
            return fromFile(options.passwordFile, stop);
        case PasswordSource::Stdin:
            return fromLine(::fileno(standardInput), "der Standardeingabe", stop);
        case PasswordSource::Terminal:
            return fromTerminal(twice, stop);
    }
    return {};
}

}  // namespace marnoq::cli
