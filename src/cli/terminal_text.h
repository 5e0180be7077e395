#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace marnoq::cli {

// Text as the terminal may see it: control characters (C0 with CR and LF, DEL, C1) and bytes
// that are no valid UTF-8 are shown escaped ("\x1b", "\r", ...), so a file name or a header
// field cannot move the cursor, set a title, clear the screen or start a line of its own; so
// are hidden and reordering characters ("\u202e").
std::string terminalText(std::string_view text);

// A message of the jobs, whose lines end in CR LF: those line ends stay line ends. When a
// name in the message holds a CR (`namesHoldCr`), its CR LF could not be told from the
// message's own, so then every CR is shown escaped.
std::string terminalMessage(std::string_view message, bool namesHoldCr);

inline bool holdsCr(std::string_view name) {
    return name.find('\r') != std::string_view::npos;
}

bool validUtf8(std::string_view text);

// Length of the valid UTF-8 sequence at the start of `text` (1 to 4, `code` its character), or 0.
std::size_t utf8Sequence(std::string_view text, std::uint32_t& code);
// Characters that show nothing or reorder the text around them (bidi marks, overrides and
// isolates, zero-width ones, line and paragraph separators, the byte order mark): shown as
// \u escapes, so that no name can pass for another or hide part of itself.
bool hiddenOrReordering(std::uint32_t code);
// A status line that fits a terminal of `columns` columns without wrapping (one column stays
// free for the cursor); cut at a whole character and ended with "…". 0 columns: as it is.
std::string fittedToColumns(const std::string& line, int columns);

}  // namespace marnoq::cli
