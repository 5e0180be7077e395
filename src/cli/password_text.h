#pragma once

#include <string>
#include <string_view>

namespace marnoq::cli {

// Password files come from any editor: Windows ones write a byte order mark, UTF-16 (what
// PowerShell 5.1's ">" writes) or the ANSI code page. A mark at the start decides; without one,
// valid UTF-8 is taken as it is and anything else as Windows-1252.

// True once `bytes`, the start of such a text, hold its whole first line with its line end.
bool holdsFirstLine(std::string_view bytes);

// Appends the first line in UTF-8, without mark and line end (LF, CR LF or a lone CR). The
// caller reserves `out` (twice the bytes suffice), so no copy is left in freed memory.
void appendFirstLine(std::string_view bytes, std::string& out);

}  // namespace marnoq::cli
