#include <sys/stat.h>

#include "io/file_system.h"
#include "jobs/job_fixture.h"

namespace marnoq {
namespace {

using jobs::Control;
using jobs::MessageIcon;
using jobs::MousePointer;
using test::Job;
using test::runJob;

class EncryptJobTest : public test::JobTest {};

TEST_F(EncryptJobTest, InputChecksInOrderWithMessageAndFocus) {
    auto report = jobs::cmdEnc_Click(view);  // empty list, empty passwords: the list comes first
    EXPECT_TRUE(report.inputError);
    view.list1 = {dir.file("a.txt")};
    test::writeText(dir.file("a.txt"), "x");
    jobs::cmdEnc_Click(view);
    view.passwords[0] = "Geheim";
    view.passwords[1] = "geheim";
    jobs::cmdEnc_Click(view);
    view.passwords[0] = view.passwords[1] = "Zoë ł";
    jobs::cmdEnc_Click(view);
    ASSERT_EQ(view.boxes.size(), 4u);
    EXPECT_EQ(view.boxes[0].text, "Bitte eine zu verschlüsselnde Dateien auswählen !");
    EXPECT_EQ(view.boxes[1].text, "Bitte ein Passwort eingeben !");
    EXPECT_EQ(view.boxes[2].text, "Die Passworte stimmen nicht überein !");
    EXPECT_NE(view.boxes[3].text.find("Windows-1252"), std::string::npos);
    for (const auto& box : view.boxes) {
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        EXPECT_EQ(box.title, "AES-Marnoq");
    }
    EXPECT_EQ(view.focus,
              (std::vector<Control>{Control::Password0, Control::Password1, Control::Password0}));
    EXPECT_TRUE(view.pointers.empty());
    EXPECT_TRUE(view.captionHistory.empty());
    EXPECT_FALSE(view.statusVisible);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.txt"});
}

TEST_F(EncryptJobTest, ThreeFilesWithStatusLinesCaptionsAndTime) {
    for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
        test::writeBytes(dir.file(name), test::randomBytes(99990));
    }
    auto report =
        runJob(view, Job::Encrypt, {dir.file("a.bin"), dir.file("b.bin"), dir.file("c.bin")},
               "  spaces count  ");
    ASSERT_TRUE(report.allDone());
    EXPECT_TRUE(view.boxes.empty());
    EXPECT_TRUE(view.statusVisible);
    EXPECT_EQ(view.captionHistory, (std::vector<std::string>{"Abbrechen", "AES Encrypt"}));
    EXPECT_EQ(view.pointers,
              (std::vector<MousePointer>{MousePointer::Hourglass, MousePointer::Arrow}));
    EXPECT_EQ(view.jobState.JobMode, 1);
    EXPECT_EQ(view.selected1, 2);
    // body 100000: 2.5 chunks round to 2, full-chunk events at 50 and 100.
    const std::vector<std::string> expected = {
        "File: 1 von 3,  File bearbeitet: 50 %", "File: 1 von 3,  File bearbeitet: 100 %",
        "File: 2 von 3,  File bearbeitet: 50 %", "File: 2 von 3,  File bearbeitet: 100 %",
        "File: 3 von 3,  File bearbeitet: 50 %", "File: 3 von 3,  File bearbeitet: 100 %"};
    ASSERT_EQ(view.statusHistory.size(), expected.size() + 1);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), view.statusHistory.begin()));
    const std::string& last = view.statusHistory.back();
    EXPECT_EQ(last.rfind(expected.back() + " , EncryptTime: ", 0), 0u) << last;
    EXPECT_TRUE(last.ends_with(" ms") || last.ends_with(" s")) << last;
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.bin", "a.bin.aes", "b.bin", "b.bin.aes",
                                                       "c.bin", "c.bin.aes"}));
}

TEST_F(EncryptJobTest, OneFileKeepsTheCaptionAndMissingEntriesAreSkipped) {
    test::writeText(dir.file("only.txt"), "hello");
    runJob(view, Job::Encrypt, {dir.file("only.txt")});
    EXPECT_EQ(view.captionHistory, std::vector<std::string>{"AES Encrypt"});
    test::makeFolder(dir.file("folder"));
    test::writeText(dir.file(".hidden"), "dot-files are ordinary files");
    auto report =
        runJob(view, Job::Encrypt, {dir.file("gone.txt"), dir.file("folder"), dir.file(".hidden")});
    EXPECT_EQ(report.files[0].outcome, jobs::FileOutcome::Skipped);
    EXPECT_EQ(report.files[1].outcome, jobs::FileOutcome::Skipped);
    EXPECT_EQ(report.files[2].outcome, jobs::FileOutcome::Done);
    EXPECT_TRUE(io::isRegularFile(dir.file(".hidden.aes")));
    EXPECT_FALSE(io::exists(dir.file("folder.aes")));
    EXPECT_NE(view.status.find(" , EncryptTime: "), std::string::npos);
}

TEST_F(EncryptJobTest, RepeatableOutputReplacesReadOnlyFileAndKeepsMode) {
    test::writeBytes(dir.file("p.dat"), test::randomBytes(5000));
    ::chmod(dir.file("p.dat").c_str(), 0640);
    runJob(view, Job::Encrypt, {dir.file("p.dat")});
    auto first = test::readBytes(dir.file("p.dat.aes"));
    ::chmod(dir.file("p.dat.aes").c_str(), 0444);
    jobs::cmdEnc_Click(view);
    EXPECT_EQ(test::readBytes(dir.file("p.dat.aes")), first);
    EXPECT_EQ(io::permissionBits(dir.file("p.dat.aes")) & 0777, 0640u & ~0022u & 0777);
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(EncryptJobTest, CancelDuringTheFirstOfThreeFiles) {
    for (const char* name : {"1.bin", "2.bin", "3.bin"}) {
        test::writeBytes(dir.file(name), test::randomBytes(200000));
    }
    int otherClicks = 0;
    view.onEvents = [&](test::FakeView& v) {
        if (v.selected1 == 0 && v.caption(jobs::StartButton::Encrypt) == "Abbrechen") {
            jobs::cmdEnc_Click(v);                         // the cancel click
            otherClicks += jobs::cmdDec_Click(v).started;  // ignored while the job runs
        }
    };
    auto report =
        runJob(view, Job::Encrypt, {dir.file("1.bin"), dir.file("2.bin"), dir.file("3.bin")});
    EXPECT_EQ(otherClicks, 0);
    EXPECT_TRUE(view.boxes.empty());
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(test::readBytes(dir.file("1.bin.aes")).size(), 31u + 200016u);
    EXPECT_FALSE(io::exists(dir.file("2.bin.aes")));
    EXPECT_NE(view.status.find(" , EncryptTime: "), std::string::npos);
    EXPECT_EQ(view.caption(jobs::StartButton::Encrypt), "AES Encrypt");
    EXPECT_FALSE(view.jobState.busy);
}

}  // namespace
}  // namespace marnoq
