#include "cli/password_line.h"

#include <gtest/gtest.h>

#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using namespace std::string_literals;
using test::CliTest;

// The bytes given, then the end of the input or, for "stops", a stop signal.
class MemorySource : public cli::ByteSource {
  public:
    MemorySource(std::string bytes, bool stops) : bytes_(std::move(bytes)), stops_(stops) {}
    Next next(char& byte) override {
        if (at_ == bytes_.size()) {
            return stops_ ? Next::Stopped : Next::End;
        }
        byte = bytes_[at_++];
        return Next::Byte;
    }
    std::size_t at_ = 0;

  private:
    std::string bytes_;
    bool stops_;
};

// Password files as editors on both systems write them give the password typed; each "Grüße"
// file opens what a typed "Grüße" encrypted. Only the first line is read, and never more than
// a short line's worth of bytes, whatever follows.
TEST_F(CliTest, PasswordLinesInEveryEditorEncodingAndTheirLimit) {
    const std::string gruesse = "Grüße", longest(1024, 'p');
    const std::string tooLong =
        "Die erste Zeile aus pw ist länger als 1024 Bytes; das ist kein "
        "Passwort.";
    const std::string nullByte =
        "Die erste Zeile aus pw enthält ein Nullbyte; das ist kein "
        "Passwort (eine UTF-16-Datei ohne Byte-Order-Mark?).";
    std::string longestUtf16 = "\xFF\xFE", umlauts;
    for (int i = 0; i < 512; ++i) {
        longestUtf16 += "\xE4\0"s;
        umlauts += "ä";  // two bytes in UTF-8
    }
    const struct Case {
        std::string bytes, password, error = "";
        bool stops = false;
    } cases[] = {
        {"\xEF\xBB\xBFgeheim123\r\n", "geheim123"},                              // UTF-8 mark
        {"\xFF\xFEg\0e\0h\0e\0i\0m\0\x31\0\x32\0\x33\0\r\0\n\0"s, "geheim123"},  // PowerShell 5.1
        {"\xFF\xFEG\0r\0\xFC\0\xDF\0e\0\r\0\n\0z\0w\0"s, gruesse},
        {"\xFE\xFF\0G\0r\0\xFC\0\xDF\0e"s, gruesse},  // big-endian, no line end
        {"\xFE\xFF\x20\xAC\0\n"s, "€"},
        {"Gr\xFC\xDF"
         "e\r\nzweite Zeile\n",
         gruesse},  // ANSI
        {gruesse + "\nzweite Zeile\n", gruesse},
        {"\xFF\xFE\xAC\x20\n\x01"s, "\xE2\x82\xAC\xC4\x8A"},  // the byte 0x0A inside a character
        {"\xFF\xFE\x00\xD8\n\0"s, "\xEF\xBF\xBD"},            // half a pair: refused later
        {"\r\n", ""},
        {"geheim\rzweite Zeile\n", "geheim"},  // a lone CR ends a line too
        {"geh\0eim\n"s, "", nullByte},
        {"g\0e\0h\0\r\0\n\0"s, "", nullByte},  // UTF-16 without a mark
        {"", "", "Kein Passwort gelesen aus pw."},
        {"geh", "", "", true},
        {longest + "\r\n" + std::string(5000, 'x'), longest},
        {longest + "p\n", "", tooLong},
        {longestUtf16 + "\n\0"s, umlauts},
        {longestUtf16 + "\xE4\0\n\0"s, "", tooLong},
        {std::string(1u << 20, '\0'), "", tooLong},  // /dev/zero
    };
    test::writeText(dir.file("a.txt"), "text");
    ASSERT_EQ(cli({"encrypt", "--password-stdin", "a.txt"}, gruesse + "\n").status, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 40));
        MemorySource source(c.bytes, c.stops);
        cli::StopFlag stop{c.stops ? 15 : 0};
        const auto outcome = cli::passwordFromLine(source, "pw", &stop);
        EXPECT_LE(source.at_, 2060U);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(outcome.stopSignal, c.stops ? 15 : 0);
        const bool read = c.error.empty() && !c.stops;
        ASSERT_EQ(outcome.passwords.has_value(), read);
        EXPECT_EQ(read ? outcome.passwords->first.str() : "", c.password);
        if (c.password == gruesse) {
            test::writeText(dir.file("passwort.txt"), c.bytes);
            EXPECT_EQ(cli({"verify", "--password-file", "passwort.txt", "a.txt.aes"}).status, 0);
        }
    }
}

}  // namespace
}  // namespace marnoq
