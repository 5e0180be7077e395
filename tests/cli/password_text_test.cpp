#include "cli/password_text.h"

#include <gtest/gtest.h>

#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using namespace std::string_literals;
using test::CliTest;

// Password files as editors on both systems write them give the password typed; each "Grüße"
// file opens what a typed "Grüße" encrypted.
TEST_F(CliTest, PasswordFilesInEveryEditorEncodingGiveTheTypedPassword) {
    const std::string gruesse = "Grüße";
    const std::pair<std::string, std::string> cases[] = {
        {"\xEF\xBB\xBFgeheim123\r\n", "geheim123"},                              // UTF-8 with mark
        {"\xFF\xFEg\0e\0h\0e\0i\0m\0\x31\0\x32\0\x33\0\r\0\n\0"s, "geheim123"},  // PowerShell 5.1
        {"\xFF\xFEG\0r\0\xFC\0\xDF\0e\0\r\0\n\0z\0w\0"s, gruesse},
        {"\xFE\xFF\0G\0r\0\xFC\0\xDF\0e"s, gruesse},  // big-endian, no line end
        {"Gr\xFC\xDF"
         "e\r\nzweite Zeile\n",
         gruesse},  // ANSI
        {gruesse + "\nzweite Zeile\n", gruesse},
        {"\xFF\xFE\xAC\x20\n\x01"s, "\xE2\x82\xAC\xC4\x8A"},  // the byte 0x0A inside a character
        {"\xFF\xFE\x00\xD8\n\0"s, "\xEF\xBF\xBD"},            // half a pair: refused later
    };
    test::writeText(dir.file("a.txt"), "text");
    ASSERT_EQ(cli({"encrypt", "--password-stdin", "a.txt"}, gruesse + "\n").status, 0);
    for (const auto& [bytes, password] : cases) {
        std::string line;
        for (std::size_t size = 1; size <= bytes.size() && !cli::holdsFirstLine(line); ++size) {
            line = bytes.substr(0, size);
        }
        std::string read;
        cli::appendFirstLine(line, read);
        EXPECT_EQ(read, password) << bytes;
        if (password == gruesse) {
            test::writeText(dir.file("passwort.txt"), bytes);
            EXPECT_EQ(cli({"verify", "--password-file", "passwort.txt", "a.txt.aes"}).status, 0)
                << bytes;
        }
    }
}

}  // namespace
}  // namespace marnoq
