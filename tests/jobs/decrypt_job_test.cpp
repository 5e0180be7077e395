#include "io/file_system.h"
#include "jobs/job_fixture.h"
#include "jobs/messages.h"

namespace marnoq {
namespace {

using jobs::Control;
using jobs::FileOutcome;
using jobs::MessageIcon;
using jobs::MousePointer;
using test::Job;
using test::runJob;

class DecryptJobTest : public test::JobTest {
  protected:
    std::string text(const std::string& name) { return test::readText(dir.file(name)); }
    // Overwrites part of a file in place.
    void patch(const std::string& path, std::size_t offset, const std::string& text) {
        auto content = test::readBytes(path);
        std::copy(text.begin(), text.end(), content.begin() + static_cast<std::ptrdiff_t>(offset));
        test::writeBytes(path, content);
    }
};

TEST_F(DecryptJobTest, InputChecks) {
    jobs::cmdDec_Click(view);
    runJob(view, Job::Decrypt, {dir.file("x.aes")}, "");
    runJob(view, Job::Decrypt, {dir.file("x.aes")}, "日本");
    view.suffix = "/../elsewhere";
    runJob(view, Job::Decrypt, {dir.file("x.aes")}, "pw");
    ASSERT_EQ(view.boxes.size(), 4u);
    EXPECT_EQ(view.boxes[0].text, "Bitte eine zu entschlüsselnde Dateien auswählen !");
    EXPECT_EQ(view.boxes[1].text, "Bitte das Passwort eingeben !");
    EXPECT_EQ(view.focus,
              (std::vector<Control>{Control::Password2, Control::Password2, Control::Suffix}));
    EXPECT_TRUE(view.captionHistory.empty());
}

TEST_F(DecryptJobTest, RoundTripsAwkwardSizesWithBothNamings) {
    // The largest spans more batches than the writer has buffers.
    for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 39999u, 40000u, 40001u, 3u * 1024 * 1024 + 5}) {
        const auto plain = test::randomBytes(n, static_cast<std::uint32_t>(n));
        const std::string stem = "Datei mit Größe " + std::to_string(n), name = stem + ".bin";
        view.suffixMode = true;
        ASSERT_TRUE(runJob(view, Job::Decrypt, {makeEncrypted(name, plain, "Passwört")}, "Passwört")
                        .allDone())
            << n;
        EXPECT_EQ(test::readBytes(dir.file(stem + "-dec.bin")), plain);
        EXPECT_EQ(view.status.rfind("FileDecrypt bearbeitet: 100 % , DecryptTime: ", 0), 0u);
        view.suffixMode = false;  // "Originalname" replaces the plain file beside it
        test::writeText(dir.file(name), "stale");
        ASSERT_TRUE(jobs::cmdDec_Click(view).allDone());
        EXPECT_EQ(test::readBytes(dir.file(name)), plain) << n;
    }
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(DecryptJobTest, ForeignSecondEntryStopsTheJobAndNamesTheFile) {
    auto first = makeEncrypted("1.txt", test::randomBytes(100));
    auto second = makeEncrypted("2.txt", test::randomBytes(100));
    patch(second, 0, "AES");  // upper case is not our signature
    auto report =
        runJob(view, Job::Decrypt, {first, second, makeEncrypted("3.txt", test::randomBytes(100))});
    EXPECT_EQ(boxTexts(), std::vector<std::string>{
                              "Die Datei: \r\n2.txt.aes\r\nwurde nicht mit diesem Programm "
                              "verschlüsselt oder ist beschädigt!"});
    EXPECT_EQ(view.boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(io::exists(dir.file("1-dec.txt")));
    EXPECT_FALSE(io::exists(dir.file("2-dec.txt")));
    EXPECT_FALSE(io::exists(dir.file("3-dec.txt")));
    EXPECT_EQ(view.caption(jobs::StartButton::Decrypt), "AES Decrypt");
    EXPECT_EQ(view.pointers.back(), MousePointer::Arrow);
    EXPECT_EQ(view.status.find("DecryptTime"), std::string::npos);
    EXPECT_EQ(report.files.back().outcome, FileOutcome::Foreign);
}

TEST_F(DecryptJobTest, WrongPasswordLeavesAnExistingOutputUntouched) {
    auto encrypted = makeEncrypted("doc.txt", test::randomBytes(1000));
    test::writeText(dir.file("doc-dec.txt"), "mine");
    runJob(view, Job::Decrypt, {encrypted, encrypted}, "falsch");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Falsches Passwort!"});
    EXPECT_EQ(view.pointers.back(), MousePointer::Default);
    EXPECT_EQ(text("doc-dec.txt"), "mine");
}

// The garbled length byte is 16 or more: a warning, the whole body kept as the result (there is
// no older file), and the checksum message names the likely cause.
TEST_F(DecryptJobTest, TrimmedPasswordPassesTheHashButGarblesAndTheChecksumSaysSo) {
    auto report =
        runJob(view, Job::Decrypt, {makeEncrypted("t.txt", test::randomBytes(1000))}, " geheim");
    EXPECT_EQ(
        boxTexts(),
        (std::vector<std::string>{
            "Wrong key or keysize?\r\nwarning - incorrect length field in decrypted file.",
            "Datei:  t-dec.txt   -> checksum error!\r\nDie crc32 Checksumme der "
            "entschlüsselten Datei stimmt nicht mit der Checksumme der Originaldatei überein!" +
                jobs::spacedPasswordLine()}));
    EXPECT_EQ(report.files[0].outcome, FileOutcome::ChecksumMismatch);
    EXPECT_EQ(test::readBytes(dir.file("t-dec.txt")).size(), 1008u);
}

TEST_F(DecryptJobTest, ChecksumMismatchKeepsAnOlderFileAndGoesOn) {
    auto damaged = makeEncrypted("a.txt", test::randomBytes(5000, 1));
    patch(damaged, 3, "DEADBEEF");
    test::writeText(dir.file("a-dec.txt"), "older");
    auto report =
        runJob(view, Job::Decrypt, {damaged, makeEncrypted("b.txt", test::randomBytes(5000, 2))});
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_TRUE(
        view.boxes[0].text.ends_with("\r\nDie bereits vorhandene Datei " + dir.file("a-dec.txt") +
                                     " wurde beibehalten, das fehlerhafte Ergebnis verworfen."));
    EXPECT_EQ(text("a-dec.txt"), "older");
    EXPECT_EQ(test::readBytes(dir.file("b-dec.txt")), test::randomBytes(5000, 2));
    EXPECT_EQ(report.files[1].outcome, FileOutcome::Done);
    EXPECT_EQ(dir.entries().size(), 6u);  // no temporary left
}

TEST_F(DecryptJobTest, BadBodyLengthIsReportedBeforeTheOutputNameIsTouched) {
    auto content = test::readBytes(makeEncrypted("s.txt", test::randomBytes(100)));
    content.resize(31);
    test::writeBytes(dir.file("header-only.txt.aes"), content);
    content.resize(31 + 20);
    test::writeBytes(dir.file("odd.txt.aes"), content);
    test::writeText(dir.file("header-only-dec.txt"), "keep me");
    auto report = runJob(view, Job::Decrypt,
                         {dir.file("header-only.txt.aes"), dir.file("odd.txt.aes"),
                          makeEncrypted("z.txt", test::randomBytes(100))});
    ASSERT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(view.boxes[0].text, "File Size Error - ciphertext file not a multiple of block size");
    EXPECT_EQ(view.boxes[0].icon, MessageIcon::None);
    EXPECT_EQ(view.boxes[0].title, "");
    EXPECT_EQ(text("header-only-dec.txt"), "keep me");
    EXPECT_FALSE(io::exists(dir.file("odd-dec.txt")));
    EXPECT_EQ(report.files[2].outcome, FileOutcome::Done);
    // The progress of a file too short to decrypt still ends at 100 %.
    EXPECT_EQ(std::vector(view.statusHistory.begin(), view.statusHistory.begin() + 4),
              (std::vector<std::string>{
                  "File: 1 von 3,  File bearbeitet: 100 %", "FileDecrypt bearbeitet: 100 %",
                  "File: 2 von 3,  File bearbeitet: 100 %", "FileDecrypt bearbeitet: 100 %"}));
}

}  // namespace
}  // namespace marnoq
