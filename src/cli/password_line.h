#pragma once

#include <string>

#include "cli/password_source.h"

namespace marnoq::cli {

// The bytes of a password file, a pipe or a terminal, one at a time.
class ByteSource {
  public:
    enum class Next { Byte, End, Stopped };
    virtual ~ByteSource() = default;
    // End also on a read error: what was read so far is all there is.
    virtual Next next(char& byte) = 0;
};

// Far above any password the format can use (32 characters), far below anything harmful.
inline constexpr std::size_t kMaxPasswordLine = 1024;

inline constexpr const char* kNoTerminalMessage =
    "Kein Terminal für die Passworteingabe. Bitte --password-file oder --password-stdin "
    "verwenden.";

enum class LineRead { Line, Nothing, TooLong, NullByte, Stopped };

// Reads the first line in any encoding an editor writes (password_text.h) into `line`, without
// its line end; more than kMaxPasswordLine bytes of UTF-8 are refused, and so is a byte 0,
// which nobody can type (UTF-16 without a mark reads as text full of them).
LineRead readPasswordLine(ByteSource& source, std::string& line);

// Turns anything but a line into the outcome's German error or stop signal; true then.
bool lineFailed(LineRead read, const std::string& where, const StopFlag* stop,
                PasswordOutcome& outcome);

// The first line of `source` as both passwords; `where` names the source in messages.
PasswordOutcome passwordFromLine(ByteSource& source, const std::string& where,
                                 const StopFlag* stop);

}  // namespace marnoq::cli
