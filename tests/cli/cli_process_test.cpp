#include <gtest/gtest.h>

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
    EXPECT_NE(info.out.find("Verschlüsselter Inhalt: 123472 Bytes (gültig)"), std::string::npos)
        << info.out;
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
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string err;  // a part of the error output
    } cases[] = {
        {{"decrypt", "--password-stdin", "a.txt.aes"}, "falsch\n", 1, "Falsches Passwort!"},
        // A blank at the end passes the header's check, not the key's: the message says why.
        {{"verify", "--password-stdin", "a.txt.aes"}, "Geheim 42 \n", 1, "Wahrscheinliche Ursache"},
        {{"verify", "--password-file", "pw", "fremd.aes"},
         "",
         1,
         "wurde nicht mit diesem Programm verschlüsselt"},
        {{"info", "fremd.aes"}, "", 1, ""},
        {{"encrypt", "-q", "--password-file", "pw", "missing.txt"}, "", 1, "Übersprungen"},
        {{"encrypt", "-r", "--password-file", "pw", "leer"}, "", 0, "nichts zu tun"},
        {{"encrypt", "--password-file", "fehlt.txt", "a.txt"},
         "",
         2,
         "fehlt.txt kann nicht gelesen werden: Die Datei oder der Ordner existiert nicht."},
        {{"encrypt"}, "", 2, ""},
        {{"decrypt", "--password-file", "pw", "a.txt"}, "", 2, ""},  // not ".aes"
        {{"encrypt", "--password-stdin", "a.txt"}, "", 2, ""},
        {{"encrypt", "--password-stdin", "a.txt"}, std::string(33, 'x') + "\n", 2, ""},
        {{"encrypt", "--password-stdin", "a.txt"}, "пароль\n", 2, "Windows-1252"},
        {{"encrypt", "a.txt"}, "", 2, ""},  // no terminal in the test
        {{"encrypt", "--password-stdin", "-f", "a.txt"},
         "offen \n",
         0,
         "endet mit einem Leerzeichen"},
        {{"encrypt", "--password-file", "pw", "a.txt"},
         "",
         1,
         "a.txt.aes gibt es schon; mit --force"},
        {{"--help"}, "", 0, ""},
        {{"verify", "-j1", "--password-file", "pw", "fremd.aes", "a.txt.aes"},
         "",
         1,
         "Danach wurde 1 weitere Datei nicht bearbeitet."},
        // a.txt.aes has the password with the blank since the case above
        {{"decrypt", "--password-stdin", "-f", "-o", "leer/", "a.txt.aes"},
         "offen \n",
         1,
         "existiert bereits ein Ordner"},
    };
    for (const auto& c : cases) {
        const auto result = cli(c.args, c.input);
        EXPECT_EQ(result.status, c.status)
            << c.args[0] << " " << c.args.back() << ": " << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
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
}

TEST_F(CliTest, SameFileTwiceOwnOutputNameAndFolderInTheWay) {
    test::writeText(dir.file("notes"), "some notes");
    auto twice = cli({"encrypt", "--password-file", "pw", "notes", "./notes"});
    EXPECT_EQ(twice.status, 0) << twice.err;
    EXPECT_NE(twice.err.find("mehrfach angegeben"), std::string::npos);
    const auto encrypted = test::readBytes(dir.file("notes.aes"));
    auto self = cli({"decrypt", "--password-file", "pw", "--suffix", ".aes", "notes.aes"});
    EXPECT_EQ(self.status, 1);
    EXPECT_NE(self.err.find("würde sich selbst überschreiben"), std::string::npos);
    EXPECT_EQ(test::readBytes(dir.file("notes.aes")), encrypted);
    auto onto = cli({"encrypt", "--password-file", "pw", "-o", "./notes", "notes"});
    EXPECT_EQ(onto.status, 2);
    EXPECT_NE(onto.err.find("ist die Eingabe selbst"), std::string::npos);
    EXPECT_EQ(test::readText(dir.file("notes")), "some notes");
    test::makeFolder(dir.file("notes-dec"));
    auto folder = cli({"decrypt", "--password-file", "pw", "notes.aes"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("bereits ein Ordner"), std::string::npos);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"notes", "notes-dec", "notes.aes", "pw"}));
}

}  // namespace
}  // namespace marnoq
