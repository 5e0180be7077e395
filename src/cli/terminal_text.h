#pragma once

#include <string>
#include <string_view>

namespace marnoq::cli {

// Text as the terminal may see it: control characters (C0, DEL, C1) and bytes that are no
// valid UTF-8 are shown escaped ("\x1b", "\n", ...), so a file name or a header field cannot
// move the cursor, set a title or clear the screen. The messages' own line breaks (CR LF)
// become plain line ends.
std::string terminalText(std::string_view text);

}  // namespace marnoq::cli
