#include "cli/password_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/unique_fd.h"
#include "jobs/messages.h"

namespace marnoq::cli {
namespace {

// Reads one line; the newline (and a CR before it) is not part of the password.
// Returns false when nothing at all could be read.
bool readLine(int fd, std::string& line) {
    line.clear();
    bool any = false;
    char c = 0;
    for (;;) {
        ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 || c == '\n') {
            any = any || got > 0;
            break;
        }
        any = true;
        line += c;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return any;
}

void writeText(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put <= 0) {
            return;
        }
        done += static_cast<std::size_t>(put);
    }
}

// Asks on the controlling terminal with echo switched off, restoring it afterwards.
std::optional<SecretString> askTerminal(int tty, const std::string& prompt) {
    termios saved{};
    const bool isTerminal = ::tcgetattr(tty, &saved) == 0;
    if (isTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    writeText(tty, prompt);
    SecretString line;
    const bool read = readLine(tty, line.str());
    if (isTerminal) {
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    }
    if (!read) {
        return std::nullopt;
    }
    return line;
}

PasswordOutcome fromTerminal(bool twice) {
    PasswordOutcome outcome;
    io::UniqueFd tty(::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (!tty.valid()) {
        outcome.error =
            "Kein Terminal für die Passworteingabe. Bitte --password-file oder "
            "--password-stdin verwenden.";
        return outcome;
    }
    auto first = askTerminal(tty.get(), "Passwort: ");
    if (!first) {
        outcome.error = "Keine Passworteingabe erhalten.";
        return outcome;
    }
    SecretString repeat = *first;
    if (twice) {
        auto again = askTerminal(tty.get(), "Wiederholung: ");
        if (!again) {
            outcome.error = "Keine Passworteingabe erhalten.";
            return outcome;
        }
        repeat = *again;
    }
    outcome.passwords = Passwords{*first, repeat};
    return outcome;
}

PasswordOutcome fromLine(int fd, const std::string& where) {
    PasswordOutcome outcome;
    SecretString line;
    if (!readLine(fd, line.str())) {
        outcome.error = "Kein Passwort gelesen aus " + where + ".";
        return outcome;
    }
    outcome.passwords = Passwords{line, line};
    return outcome;
}

PasswordOutcome fromFile(const std::string& path) {
    io::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        PasswordOutcome outcome;
        outcome.error = "Die Passwortdatei " + path + " kann nicht gelesen werden: " +
                        jobs::reasonText(errno);
        return outcome;
    }
    PasswordOutcome outcome = fromLine(fd.get(), path);
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && (info.st_mode & 0077) != 0) {
        outcome.warnings.push_back("Warnung: Die Passwortdatei " + path +
                                   " ist für andere Benutzer lesbar (chmod 600 empfohlen).");
    }
    return outcome;
}

}  // namespace

PasswordOutcome obtainPasswords(const Options& options, bool twice, std::FILE* standardInput) {
    switch (options.passwordSource) {
        case PasswordSource::File: return fromFile(options.passwordFile);
        case PasswordSource::Stdin: return fromLine(::fileno(standardInput), "der Standardeingabe");
        case PasswordSource::Terminal: return fromTerminal(twice);
    }
    return {};
}

}  // namespace marnoq::cli
