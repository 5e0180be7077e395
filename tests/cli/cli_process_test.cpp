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

    auto original = cli({"decrypt", "--password-stdin", "--original-name", "Bericht März.pdf.aes"},
                        "Geheim 42\n");
    ASSERT_EQ(original.status, 0) << original.err;
    EXPECT_EQ(test::readBytes(dir.file("Bericht März.pdf")), plain);
}

TEST_F(CliTest, ExitStatusForFailuresAndUsage) {
    test::writeText(dir.file("a.txt"), "text");
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "a.txt"}).status, 0);

    auto wrong = cli({"decrypt", "--password-stdin", "a.txt.aes"}, "falsch\n");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("Falsches Passwort!"), std::string::npos);

    test::writeText(dir.file("fremd.aes"), "this is not ours at all, really not");
    auto foreign = cli({"verify", "--password-file", "pw", "fremd.aes"});
    EXPECT_EQ(foreign.status, 1);
    EXPECT_NE(foreign.err.find("wurde nicht mit diesem Programm verschlüsselt"), std::string::npos);
    EXPECT_EQ(cli({"info", "fremd.aes"}).status, 1);

    EXPECT_EQ(cli({"encrypt", "--password-file", "pw", "missing.txt"}).status, 1);
    auto noPasswordFile = cli({"encrypt", "--password-file", "fehlt.txt", "a.txt"});
    EXPECT_EQ(noPasswordFile.status, 2);
    EXPECT_NE(noPasswordFile.err.find("fehlt.txt kann nicht gelesen werden: Die Datei oder der "
                                      "Ordner existiert nicht."),
              std::string::npos)
        << noPasswordFile.err;
    EXPECT_EQ(cli({"encrypt"}).status, 2);
    auto bogus = cli({"encrypt", "--bogus", "a.txt"});
    EXPECT_EQ(bogus.status, 2);
    std::erase(bogus.err, '\r');  // Windows' text-mode stderr ends its lines with CR LF
    EXPECT_EQ(bogus.err,
              "aes-marnoq-cli: Unbekannte Option: --bogus\nHilfe: aes-marnoq-cli --help\n");
    EXPECT_EQ(cli({"decrypt", "--password-file", "pw", "a.txt"}).status, 2);  // not ".aes"
    EXPECT_EQ(cli({"encrypt", "--password-stdin", "a.txt"}, "").status, 2);
    EXPECT_EQ(cli({"encrypt", "--password-stdin", "a.txt"}, std::string(33, 'x') + "\n").status, 2);
    auto nonLatin = cli({"encrypt", "--password-stdin", "a.txt"}, "пароль\n");
    EXPECT_EQ(nonLatin.status, 2);
    EXPECT_NE(nonLatin.err.find("Windows-1252"), std::string::npos);
    auto terminal = cli({"encrypt", "a.txt"});  // no terminal in the test
    EXPECT_EQ(terminal.status, 2);
    EXPECT_EQ(cli({"--help"}).status, 0);
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

    test::makeFolder(dir.file("notes-dec"));
    auto folder = cli({"decrypt", "--password-file", "pw", "notes.aes"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("bereits ein Ordner"), std::string::npos);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"notes", "notes-dec", "notes.aes", "pw"}));
}

}  // namespace
}  // namespace marnoq
