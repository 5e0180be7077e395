#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sstream>

#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using test::CliTest;

TEST_F(CliTest, EncryptVerifyInfoDecryptWithEachPasswordSource) {
    const auto plain = test::randomBytes(123457);
    test::writeBytes(dir.file("Bericht März.pdf"), plain);
    auto enc = cli({"encrypt", "--password-file", "pw", "Bericht März.pdf"});
    ASSERT_EQ(enc.status, 0) << enc.err;
    EXPECT_NE(enc.err.find(" , EncryptTime: "), std::string::npos);
    auto verify = cli({"verify", "--password-stdin", "Bericht März.pdf.aes"}, "Geheim 42\r\n");
    EXPECT_EQ(verify.status, 0) << verify.err;
    auto info = cli({"info", "Bericht März.pdf.aes"});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("Signatur:               aes (gültig)"), std::string::npos) << info.out;
    EXPECT_PRED2(test::contains, info.out, "Verschlüsselter Inhalt: 123472 Bytes (gültig)");
    auto dec = cli({"decrypt", "--password-file", "pw", "Bericht März.pdf.aes"});
    ASSERT_EQ(dec.status, 0) << dec.err;
    EXPECT_EQ(test::readBytes(dir.file("Bericht März-dec.pdf")), plain);
    auto original =
        cli({"decrypt", "--password-stdin", "--original-name", "-f", "Bericht März.pdf.aes"},
            "Geheim 42\n");
    ASSERT_EQ(original.status, 0) << original.err;
    EXPECT_EQ(test::readBytes(dir.file("Bericht März.pdf")), plain);
}

TEST_F(CliTest, ExitStatusForFailuresAndUsage) {
    test::writeText(dir.file("a.txt"), "text");
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "a.txt"}).status, 0);
    test::writeText(dir.file("fremd.aes"), "this is not ours at all, really not");
    test::makeFolder(dir.file("leer"));
    test::writeText(dir.file("notes"), "some notes");
    test::makeFolder(dir.file("notes-dec"));
    const struct {
        int status;
        std::string err;   // a part of the error output
        std::string args;  // split at blanks
        std::string input = "";
    } cases[] = {
        {1, "Falsches Passwort!", "decrypt --password-stdin a.txt.aes", "falsch\n"},
        // A blank at the end passes the header's check, not the key's: the message says why.
        {1, "Wahrscheinliche Ursache", "verify --password-stdin a.txt.aes", "Geheim 42 \n"},
        {1, "", "info fremd.aes"},
        {1, "Übersprungen", "encrypt -q --password-file pw missing.txt"},
        {0, "nichts zu tun", "encrypt -r --password-file pw leer"},
        {2, "fehlt.txt kann nicht gelesen werden: Die Datei oder der Ordner existiert nicht.",
         "encrypt --password-file fehlt.txt a.txt"},
        {2, "", "decrypt --password-file pw a.txt"},  // not ".aes"
        {2, "", "encrypt --password-stdin a.txt", std::string(33, 'x') + "\n"},
        {2, "Windows-1252", "encrypt --password-stdin a.txt", "пароль\n"},
        {2, "", "encrypt a.txt"},  // no terminal in the test
        {0, "endet mit einem Leerzeichen", "encrypt --password-stdin -f a.txt", "offen \n"},
        {1, "a.txt.aes gibt es schon; mit --force", "encrypt --password-file pw a.txt"},
        {0, "", "--help"},
        {1, "Danach wurde 1 weitere Datei nicht bearbeitet.",
         "verify -j1 --password-file pw fremd.aes a.txt.aes"},
        // a.txt.aes has the password with the blank since the case above
        {1, "existiert bereits ein Ordner", "decrypt --password-stdin -f -o leer/ a.txt.aes",
         "offen \n"},
        // The same file twice, an output that would be the input, a folder in the way.
        {0, "mehrfach angegeben", "encrypt --password-file pw notes ./notes"},
        {1, "würde sich selbst überschreiben",
         "decrypt --password-file pw --suffix .aes notes.aes"},
        {0, "", "verify --password-file pw notes.aes"},  // not overwritten
        {2, "ist die Eingabe selbst", "encrypt --password-file pw -o ./notes notes"},
        {1, "bereits ein Ordner", "decrypt --password-file pw notes.aes"},
    };
    for (const auto& c : cases) {
        std::istringstream words(c.args);
        const auto result = cli({std::istream_iterator<std::string>(words), {}}, c.input);
        EXPECT_EQ(result.status, c.status) << c.args << ": " << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        // Only a file that ends the job leaves others unstarted; an input error starts none.
        EXPECT_EQ(result.err.find("Danach") == std::string::npos, !c.err.starts_with("Danach"));
    }
    // A hard link in the output's place is the input itself, though the names differ.
    std::filesystem::create_hard_link(dir.file("a.txt.aes"), dir.file("a-dec.txt"));
    const auto linked = cli({"decrypt", "-f", "--password-stdin", "a.txt.aes"}, "offen \n");
    EXPECT_NE(linked.err.find("würde sich selbst überschreiben"), std::string::npos);
    // A refusal of the whole call is said once, not once per file.
    const auto slash =
        cli({"decrypt", "--password-file", "pw", "--suffix", "a/b", "a.txt.aes", "fremd.aes"});
    EXPECT_EQ(slash.status, 2);
    EXPECT_EQ(slash.err.find("Schrägstrich"), slash.err.rfind("Schrägstrich")) << slash.err;
    auto bogus = cli({"encrypt", "--bogus", "a.txt"});
    EXPECT_EQ(bogus.status, 2);
    std::erase(bogus.err, '\r');  // Windows' text-mode stderr ends its lines with CR LF
    EXPECT_EQ(bogus.err,
              "aes-marnoq-cli: Unbekannte Option: --bogus\nHilfe: aes-marnoq-cli --help\n");
    EXPECT_NE(cli({"--version"}).out.find("1.1"), std::string::npos);
    EXPECT_EQ(test::readText(dir.file("notes")), "some notes");
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"a-dec.txt", "a.txt", "a.txt.aes", "fremd.aes", "leer",
                                        "notes", "notes-dec", "notes.aes", "pw"}));
}

}  // namespace
}  // namespace marnoq
