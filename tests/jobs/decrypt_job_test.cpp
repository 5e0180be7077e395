
#include "io/file_system.h"
#include "jobs/job_fixture.h"
#include "support/fault_plan.h"

namespace marnoq {
namespace {

using jobs::Control;
using jobs::FileOutcome;
using jobs::MessageIcon;
using jobs::MousePointer;

class DecryptJobTest : public test::JobTest {
protected:
    std::vector<std::uint8_t> bytes(const std::string& name) { return test::readBytes(dir.file(name)); }
    // Overwrites part of a file in place.
    void patch(const std::string& path, std::size_t offset, const std::string& text) {
        auto content = test::readBytes(path);
        std::copy(text.begin(), text.end(), content.begin() + static_cast<std::ptrdiff_t>(offset));
        test::writeBytes(path, content);
    }
};

TEST_F(DecryptJobTest, InputChecks) {
    jobs::cmdDec_Click(view);
    view.list2 = {dir.file("x.aes")};
    jobs::cmdDec_Click(view);
    view.passwords[2] = "日本";
    jobs::cmdDec_Click(view);
    view.passwords[2] = "pw";
    view.suffix = "/../elsewhere";
    jobs::cmdDec_Click(view);
    ASSERT_EQ(view.boxes.size(), 4u);
    EXPECT_EQ(view.boxes[0].text, "Bitte eine zu entschlüsselnde Dateien auswählen !");
    EXPECT_EQ(view.boxes[1].text, "Bitte das Passwort eingeben !");
    EXPECT_EQ(view.focus, (std::vector<Control>{Control::Password2, Control::Password2,
                                                Control::Suffix}));
    EXPECT_TRUE(view.captionHistory.empty());
}

TEST_F(DecryptJobTest, RoundTripsAwkwardSizesWithBothNamings) {
    for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 39999u, 40000u, 40001u, 2u * 1024 * 1024 + 3}) {
        const auto plain = test::randomBytes(n, static_cast<std::uint32_t>(n));
        const std::string name = "Datei mit Größe " + std::to_string(n) + ".bin";
        view.list2 = {makeEncrypted(name, plain, "Passwört")};
        view.passwords[2] = "Passwört";
        view.suffixMode = true;
        auto report = jobs::cmdDec_Click(view);
        ASSERT_TRUE(report.allDone()) << n;
        EXPECT_EQ(bytes("Datei mit Größe " + std::to_string(n) + "-dec.bin"), plain) << n;
        EXPECT_EQ(view.status.rfind("FileDecrypt bearbeitet: 100 % , DecryptTime: ", 0), 0u);

        view.suffixMode = false;  // "Originalname" replaces the plain file beside it
        test::writeText(dir.file(name), "stale");
        ASSERT_TRUE(jobs::cmdDec_Click(view).allDone());
        EXPECT_EQ(bytes(name), plain) << n;
    }
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(DecryptJobTest, ForeignSecondEntryStopsTheJobAndNamesTheFile) {
    auto first = makeEncrypted("1.txt", test::randomBytes(100));
    auto second = makeEncrypted("2.txt", test::randomBytes(100));
    auto third = makeEncrypted("3.txt", test::randomBytes(100));
    patch(second, 0, "AES");  // upper case is not our signature
    view.list2 = {first, second, third};
    view.passwords[2] = "geheim";
    auto report = jobs::cmdDec_Click(view);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].text,
              "Die Datei: \r\n2.txt.aes\r\nwurde nicht mit diesem Programm verschlüsselt oder ist "
              "beschädigt!");
    EXPECT_EQ(view.boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(io::exists(dir.file("1-dec.txt")));
    EXPECT_FALSE(io::exists(dir.file("2-dec.txt")));
    EXPECT_FALSE(io::exists(dir.file("3-dec.txt")));
    EXPECT_EQ(view.caption(jobs::StartButton::Decrypt), "AES Decrypt");
    EXPECT_EQ(view.pointers.back(), MousePointer::Arrow);
    EXPECT_EQ(view.status.find("DecryptTime"), std::string::npos);
    EXPECT_EQ(report.files.back().outcome, FileOutcome::Foreign);

    test::writeBytes(dir.file("short.aes"), test::randomBytes(30));
    test::writeBytes(dir.file("empty.aes"), {});
    view.list2 = {dir.file("empty.aes"), dir.file("short.aes")};
    view.boxes.clear();
    jobs::cmdDec_Click(view);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_NE(view.boxes[0].text.find("empty.aes"), std::string::npos);
}

TEST_F(DecryptJobTest, WrongPasswordLeavesAnExistingOutputUntouched) {
    auto encrypted = makeEncrypted("doc.txt", test::randomBytes(1000));
    test::writeText(dir.file("doc-dec.txt"), "mine");
    view.list2 = {encrypted, encrypted};
    view.passwords[2] = "falsch";
    jobs::cmdDec_Click(view);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].text, "Falsches Passwort!");
    EXPECT_EQ(view.pointers.back(), MousePointer::Default);
    EXPECT_EQ(bytes("doc-dec.txt"), std::vector<std::uint8_t>({'m', 'i', 'n', 'e'}));
}

TEST_F(DecryptJobTest, TrimmedPasswordPassesTheHashButGarblesAndTheChecksumSaysSo) {
    auto encrypted = makeEncrypted("t.txt", test::randomBytes(1000));
    view.list2 = {encrypted};
    view.passwords[2] = " geheim";
    auto report = jobs::cmdDec_Click(view);
    ASSERT_FALSE(view.boxes.empty());
    EXPECT_EQ(view.boxes.back().text,
              "Datei:  t-dec.txt   -> checksum error!\r\nDie crc32 Checksumme der entschlüsselten "
              "Datei stimmt nicht mit der Checksumme der Originaldatei überein!");
    EXPECT_EQ(report.files[0].outcome, FileOutcome::ChecksumMismatch);
    EXPECT_TRUE(io::exists(dir.file("t-dec.txt")));  // no older file: the result stays
}

TEST_F(DecryptJobTest, ChecksumMismatchKeepsAnOlderFileAndGoesOn) {
    auto damaged = makeEncrypted("a.txt", test::randomBytes(5000, 1));
    auto good = makeEncrypted("b.txt", test::randomBytes(5000, 2));
    patch(damaged, 3, "DEADBEEF");
    test::writeText(dir.file("a-dec.txt"), "older");
    view.list2 = {damaged, good};
    view.passwords[2] = "geheim";
    auto report = jobs::cmdDec_Click(view);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_TRUE(view.boxes[0].text.ends_with("\r\nDie bereits vorhandene Datei " +
                                             dir.file("a-dec.txt") +
                                             " wurde beibehalten, das fehlerhafte Ergebnis verworfen."));
    EXPECT_EQ(bytes("a-dec.txt"), std::vector<std::uint8_t>({'o', 'l', 'd', 'e', 'r'}));
    EXPECT_EQ(bytes("b-dec.txt"), test::randomBytes(5000, 2));
    EXPECT_EQ(report.files[1].outcome, FileOutcome::Done);
    EXPECT_EQ(dir.entries().size(), 6u);  // no temporary left
}

TEST_F(DecryptJobTest, BadBodyLengthIsReportedBeforeTheOutputNameIsTouched) {
    auto encrypted = makeEncrypted("s.txt", test::randomBytes(100));
    auto content = test::readBytes(encrypted);
    content.resize(31);
    test::writeBytes(dir.file("header-only.txt.aes"), content);
    content.resize(31 + 20);
    test::writeBytes(dir.file("odd.txt.aes"), content);
    test::writeText(dir.file("header-only-dec.txt"), "keep me");
    auto good = makeEncrypted("z.txt", test::randomBytes(100));
    view.list2 = {dir.file("header-only.txt.aes"), dir.file("odd.txt.aes"), good};
    view.passwords[2] = "geheim";
    auto report = jobs::cmdDec_Click(view);
    ASSERT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(view.boxes[0].text, "File Size Error - ciphertext file not a multiple of block size");
    EXPECT_EQ(view.boxes[0].icon, MessageIcon::None);
    EXPECT_EQ(view.boxes[0].title, "");
    EXPECT_EQ(bytes("header-only-dec.txt"), std::vector<std::uint8_t>({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    EXPECT_FALSE(io::exists(dir.file("odd-dec.txt")));
    EXPECT_EQ(report.files[2].outcome, FileOutcome::Done);
    EXPECT_EQ(std::count(view.statusHistory.begin(), view.statusHistory.end(),
                         "FileDecrypt bearbeitet: 100 %"),
              3);
}

TEST_F(DecryptJobTest, RefusesToOverwriteItsInputOrAFolder) {
    auto encrypted = makeEncrypted("notes", test::randomBytes(100));
    view.list2 = {encrypted};
    view.passwords[2] = "geheim";
    view.suffix = ".aes";  // notes.aes -> notes + ".aes": itself
    jobs::cmdDec_Click(view);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_NE(view.boxes[0].text.find("würde sich selbst überschreiben"), std::string::npos);
    EXPECT_EQ(test::readBytes(encrypted).size(), 31u + 112u);

    view.boxes.clear();
    view.suffix = "-dec";
    test::makeFolder(dir.file("notes-dec"));
    jobs::cmdDec_Click(view);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_NE(view.boxes[0].text.find("bereits ein Ordner"), std::string::npos);
    EXPECT_TRUE(io::isDirectory(dir.file("notes-dec")));
}

TEST_F(DecryptJobTest, VerifyWritesNothing) {
    auto encrypted = makeEncrypted("v.txt", test::randomBytes(1));
    view.list2 = {encrypted};
    view.passwords[2] = "geheim";
    auto before = dir.entries();
    EXPECT_TRUE(jobs::cmdDec_Click(view, jobs::DecryptTarget::VerifyOnly).allDone());
    EXPECT_EQ(dir.entries(), before);
}

TEST_F(DecryptJobTest, IoFailureMidWriteLeavesTheOlderOutputByteIdentical) {
    const auto plain = test::randomBytes(900000, 4);
    auto encrypted = makeEncrypted("big.bin", plain);
    const auto older = test::randomBytes(333, 5);
    test::writeBytes(dir.file("big-dec.bin"), older);
    view.list2 = {encrypted, makeEncrypted("next.bin", test::randomBytes(10))};
    view.passwords[2] = "geheim";
    {
        test::FaultPlan plan(io::FileOperation::Write, 3, EIO);
        jobs::cmdDec_Click(view);
    }
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].text, "Fehler beim Schreiben der Datei:\r\n" +
                                      dir.file("big-dec.bin") +
                                      "\r\nEin-/Ausgabefehler des Datenträgers.");
    EXPECT_EQ(bytes("big-dec.bin"), older);
    EXPECT_FALSE(io::exists(dir.file("next-dec.bin")));
    EXPECT_EQ(dir.entries().size(), 5u);
}

}  // namespace
}  // namespace marnoq
