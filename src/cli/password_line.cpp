#include "cli/password_line.h"

#include "cli/password_text.h"

namespace marnoq::cli {
namespace {

// As read: UTF-16 takes two bytes a character, with a mark and a line end.
constexpr std::size_t kMaxBytes = 2 * kMaxPasswordLine + 6;

}  // namespace

LineRead readPasswordLine(ByteSource& source, std::string& line) {
    line.clear();
    // Reserved once: a growing string would leave copies of the password in freed memory.
    SecretString raw;
    raw.str().reserve(kMaxBytes + 1);
    line.reserve(3 * kMaxBytes);
    char byte = 0;
    for (;;) {
        const ByteSource::Next next = source.next(byte);
        if (next == ByteSource::Next::Stopped) {
            return LineRead::Stopped;
        }
        if (next == ByteSource::Next::End) {
            break;
        }
        if (raw.str().size() == kMaxBytes) {
            return LineRead::TooLong;
        }
        raw.str() += byte;
        if (holdsFirstLine(raw.str())) {
            break;
        }
    }
    appendFirstLine(raw.str(), line);
    if (line.size() > kMaxPasswordLine) {
        return LineRead::TooLong;
    }
    if (line.find('\0') != std::string::npos) {
        return LineRead::NullByte;
    }
    return raw.str().empty() ? LineRead::Nothing : LineRead::Line;
}

bool lineFailed(LineRead read, const std::string& where, const StopFlag* stop,
                PasswordOutcome& outcome) {
    switch (read) {
        case LineRead::Line:
            return false;
        case LineRead::Nothing:
            outcome.error = "Kein Passwort gelesen aus " + where + ".";
            break;
        case LineRead::TooLong:
            outcome.error = "Die erste Zeile aus " + where + " ist länger als " +
                            std::to_string(kMaxPasswordLine) + " Bytes; das ist kein Passwort.";
            break;
        case LineRead::NullByte:
            outcome.error = "Die erste Zeile aus " + where +
                            " enthält ein Nullbyte; das ist kein Passwort (eine UTF-16-Datei "
                            "ohne Byte-Order-Mark?).";
            break;
        case LineRead::Stopped:
            outcome.stopSignal = stop->load();
            break;
    }
    return true;
}

PasswordOutcome passwordFromLine(ByteSource& source, const std::string& where,
                                 const StopFlag* stop) {
    PasswordOutcome outcome;
    SecretString line;
    if (!lineFailed(readPasswordLine(source, line.str()), where, stop, outcome)) {
        outcome.passwords = Passwords{line, line};
    }
    return outcome;
}

}  // namespace marnoq::cli
