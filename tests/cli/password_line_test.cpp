#include "cli/password_line.h"

#include <gtest/gtest.h>

#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using namespace std::string_literals;
using test::CliTest;

class MemorySource : public cli::ByteSource {
  public:
    explicit MemorySource(std::string bytes, bool stopsAtEnd = false)
        : bytes_(std::move(bytes)), stopsAtEnd_(stopsAtEnd) {}
    Next next(char& byte) override {
        if (at_ == bytes_.size()) {
            return stopsAtEnd_ ? Next::Stopped : Next::End;
        }
        byte = bytes_[at_++];
        return Next::Byte;
    }
    std::size_t consumed() const { return at_; }

  private:
    std::string bytes_;
    bool stopsAtEnd_;
    std::size_t at_ = 0;
};

// Password files as editors on both systems write them give the password typed; each "Grüße"
// file opens what a typed "Grüße" encrypted. Only the first line is read, and never more than
// a short line's worth of bytes, whatever follows.
TEST_F(CliTest, PasswordLinesInEveryEditorEncodingAndTheirLimit) {
    const std::string gruesse = "Grüße";
    const std::string longest(1024, 'p');
    std::string longestUtf16 = "\xFF\xFE", umlauts;
    for (int i = 0; i < 512; ++i) {
        longestUtf16 += "\xE4\0"s;
        umlauts += "ä";  // two bytes in UTF-8
    }
    using enum cli::LineRead;
    const struct Case {
        std::string bytes;
        cli::LineRead read;
        std::string password;
    } cases[] = {
        {"\xEF\xBB\xBFgeheim123\r\n", Line, "geheim123"},  // UTF-8 with mark
        {"\xFF\xFEg\0e\0h\0e\0i\0m\0\x31\0\x32\0\x33\0\r\0\n\0"s, Line,
         "geheim123"},  // PowerShell 5.1
        {"\xFF\xFEG\0r\0\xFC\0\xDF\0e\0\r\0\n\0z\0w\0"s, Line, gruesse},
        {"\xFE\xFF\0G\0r\0\xFC\0\xDF\0e"s, Line, gruesse},  // big-endian, no end
        {"Gr\xFC\xDF"
         "e\r\nzweite Zeile\n",
         Line, gruesse},  // ANSI
        {gruesse + "\nzweite Zeile\n", Line, gruesse},
        {"\xFF\xFE\xAC\x20\n\x01"s, Line, "\xE2\x82\xAC\xC4\x8A"},  // 0x0A inside
        {"\xFF\xFE\x00\xD8\n\0"s, Line, "\xEF\xBF\xBD"},            // half a pair: refused later
        {"\r\n", Line, ""},
        {"", Nothing, ""},
        {longest + "\r\n" + std::string(5000, 'x'), Line, longest},
        {longest + "p\n", TooLong, ""},
        {longestUtf16 + "\n\0"s, Line, umlauts},
        {longestUtf16 + "\xE4\0\n\0"s, TooLong, ""},
        {std::string(1u << 20, '\0'), TooLong, ""},  // /dev/zero
    };
    test::writeText(dir.file("a.txt"), "text");
    ASSERT_EQ(cli({"encrypt", "--password-stdin", "a.txt"}, gruesse + "\n").status, 0);
    for (const auto& c : cases) {
        MemorySource source(c.bytes);
        std::string line;
        EXPECT_EQ(cli::readPasswordLine(source, line), c.read) << c.bytes.substr(0, 40);
        EXPECT_LE(source.consumed(), 2060U);
        if (c.read == Line) {
            EXPECT_EQ(line, c.password) << c.bytes.substr(0, 40);
        }
        if (c.password == gruesse) {
            test::writeText(dir.file("passwort.txt"), c.bytes);
            EXPECT_EQ(cli({"verify", "--password-file", "passwort.txt", "a.txt.aes"}).status, 0)
                << c.bytes;
        }
    }
}

TEST(PasswordLine, FailuresSayWhereAndWhy) {
    cli::StopFlag stop{0};
    MemorySource empty(""), tooLong(std::string(3000, 'p')), stopped("geh", true);
    auto outcome = cli::passwordFromLine(empty, "der Standardeingabe", &stop);
    EXPECT_EQ(outcome.error, "Kein Passwort gelesen aus der Standardeingabe.");
    outcome = cli::passwordFromLine(tooLong, "pw.txt", &stop);
    EXPECT_EQ(outcome.error,
              "Die erste Zeile aus pw.txt ist länger als 1024 Bytes; das ist kein Passwort.");
    stop = 15;
    outcome = cli::passwordFromLine(stopped, "dem Terminal", &stop);
    EXPECT_EQ(outcome.stopSignal, 15);
    EXPECT_FALSE(outcome.passwords.has_value());
    EXPECT_TRUE(outcome.error.empty());
}

}  // namespace
}  // namespace marnoq
