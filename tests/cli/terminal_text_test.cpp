#include "cli/terminal_text.h"

#include <gtest/gtest.h>

namespace marnoq::cli {
namespace {

TEST(TerminalText, ControlsAndBrokenBytesAreEscapedTextStays) {
    const std::pair<std::string, std::string> cases[] = {
        {"Bericht März.pdf", "Bericht März.pdf"},
        {"a\nb\rc\td", "a\\nb\\rc\\td"},
        {"x\r\nFertig.", "x\\r\\nFertig."},  // a name cannot start a line of its own
        {"\x1b[2J\x07\x7f", "\\x1b[2J\\x07\\x7f"},
        {"\xc2\x9b"
         "1m \xc2\xa0",
         "\\xc2\\x9b1m \xc2\xa0"},                       // C1 escaped, NBSP kept
        {"\xff\xc3(\xe2\x82", "\\xff\\xc3(\\xe2\\x82"},  // invalid, cut short
        {"\xc0\xaf\xe0\x80\xaf\xed\xa0\x80",
         "\\xc0\\xaf\\xe0\\x80\\xaf\\xed\\xa0\\x80"},  // overlong, surrogate
        {"\xf0\x9f\x94\x92\xf4\x8f\xbf\xbf \xf4\x90\x80\x80",
         "\xf0\x9f\x94\x92\xf4\x8f\xbf\xbf \\xf4\\x90\\x80\\x80"},  // up to U+10FFFF kept
        // Hidden and reordering characters: right-to-left override, isolate, zero width,
        // line separator, byte order mark; a dash beside them stays.
        {"a\xe2\x80\xae"
         "b\xe2\x81\xa6\xe2\x80\x8b\xe2\x80\xa8\xef\xbb\xbf\xe2\x80\x94",
         "a\\u202e"
         "b\\u2066\\u200b\\u2028\\ufeff\xe2\x80\x94"},
    };
    for (const auto& [raw, shown] : cases) {
        EXPECT_EQ(terminalText(raw), shown);
    }
}

// A message's own CR LF is a line end only while no name in it could hold one too.
TEST(TerminalText, MessageLinesEndOnlyWhereNoNameCouldForgeAnEnd) {
    const std::string message = "Die Datei:\r\n/a/\x1b.txt\r\nFehler.";
    EXPECT_EQ(terminalMessage(message, false), "Die Datei:\n/a/\\x1b.txt\nFehler.");
    EXPECT_EQ(terminalMessage(message, true), "Die Datei:\\r\\n/a/\\x1b.txt\\r\\nFehler.");
}

// The status line is drawn over with CR: one that wrapped in a narrow console would leave a
// line behind at every redraw. Cut at whole characters, one column left for the cursor.
TEST(TerminalText, StatusLineFitsTheConsoleWithoutWrapping) {
    const std::tuple<std::string, int, std::string> cases[] = {
        {"abcd", 5, "abcd"},        {"abcde", 5, "abc…"},
        {"Größe über", 6, "Größ…"}, {std::string(100, 'x'), 80, std::string(78, 'x') + "…"},
        {"abc", 0, "abc"},  // width unknown
    };
    for (const auto& [line, columns, shown] : cases) {
        EXPECT_EQ(fittedToColumns(line, columns), shown) << line << " " << columns;
    }
}

}  // namespace
}  // namespace marnoq::cli
