#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "io/file_system.h"
#include "jobs/job_fixture.h"
#include "support/process.h"

namespace marnoq {
namespace {

using jobs::FileOutcome;

class RealConditionsTest : public test::JobTest {};

// A small tmpfs of our own, when the test may mount one (root); otherwise the test skips.
class SmallMount {
  public:
    SmallMount(const std::string& where, const char* options) : where_(where) {
        ::mkdir(where.c_str(), 0755);
        mounted_ = ::mount("tmpfs", where.c_str(), "tmpfs", 0, options) == 0;
    }
    ~SmallMount() {
        if (mounted_) {
            ::umount2(where_.c_str(), MNT_DETACH);
        }
    }
    bool mounted() const { return mounted_; }
    void remountReadOnly() {
        ::mount("tmpfs", where_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr);
    }

  private:
    std::string where_;
    bool mounted_ = false;
};

// A file that does not fit, and a file system remounted read-only: the message says why, the
// older output keeps its bytes and no unfinished one is left.
TEST_F(RealConditionsTest, FullOrReadOnlyFileSystem) {
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        SmallMount disk(dir.path(), "size=1m");
        if (!disk.mounted()) {
            GTEST_SKIP() << "cannot mount a small tmpfs here (needs root in its own namespace)";
        }
        const std::string plain = dir.file("a.bin");
        test::writeBytes(plain, test::randomBytes(600000));  // fits once, not twice
        test::writeText(plain + ".aes", "older");
        if (readOnly) {
            disk.remountReadOnly();
        }
        view.boxes.clear();
        EXPECT_FALSE(test::runJob(view, test::Job::Encrypt, {plain}).allDone());
        ASSERT_EQ(view.boxes.size(), 1u);
        const std::string& text = view.boxes[0].text;
        EXPECT_TRUE(text.starts_with(readOnly ? "Fehler beim Schreiben! Mögliche Ursachen:\r\n"
                                              : "Fehler beim Schreiben der Datei:\r\n"))
            << text;
        EXPECT_TRUE(text.ends_with(
            plain + ".aes" + (readOnly ? "" : "\r\nAuf dem Datenträger ist kein Platz mehr frei.")))
            << text;
        EXPECT_EQ(test::readText(plain + ".aes"), "older");
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.bin", "a.bin.aes"}));
    }
}

TEST_F(RealConditionsTest, SourcesThatAreNoRegularFilesAreSkipped) {
    ::mkdir(dir.file("ordner").c_str(), 0755);
    ::mkfifo(dir.file("fifo").c_str(), 0644);
    ASSERT_EQ(::symlink(dir.file("nirgends").c_str(), dir.file("dangling").c_str()), 0);
    auto report =
        test::runJob(view, test::Job::Encrypt,
                     {dir.file("ordner"), dir.file("fifo"), "/dev/null", dir.file("dangling")});
    ASSERT_EQ(report.files.size(), 4u);
    for (const auto& file : report.files) {
        EXPECT_EQ(file.outcome, FileOutcome::Skipped) << file.path;
    }
    EXPECT_TRUE(view.boxes.empty());
    EXPECT_FALSE(io::exists(dir.file("fifo.aes")));
}

TEST_F(RealConditionsTest, PlainFileChangingOrVanishingDuringTheJob) {
    const auto bytes = test::randomBytes(400000);
    const std::pair<std::uint64_t, const char*> changes[] = {{1000, "kürzer"}, {400005, "länger"}};
    for (const auto& [length, reason] : changes) {
        SCOPED_TRACE(reason);
        test::writeBytes(dir.file("s.bin"), bytes);
        view.boxes.clear();
        view.pumps = 0;
        view.onEvents = [&](test::FakeView& v) {
            if (v.pumps == 1) {
                test::setLength(dir.file("s.bin"), length);
            }
        };
        test::runJob(view, test::Job::Encrypt, {dir.file("s.bin")});
        ASSERT_EQ(view.boxes.size(), 1u);
        EXPECT_PRED2(test::contains, view.boxes[0].text,
                     dir.file("s.bin") + "\r\nDie Datei wurde während der Verarbeitung " + reason);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"s.bin"});
    }
    // A vanished name does not matter once the file is open: the job reads what it opened.
    test::writeBytes(dir.file("v.bin"), bytes);
    view.boxes.clear();
    view.pumps = 0;
    view.onEvents = [&](test::FakeView& v) {
        if (v.pumps == 1) {
            ::unlink(dir.file("v.bin").c_str());
        }
    };
    EXPECT_TRUE(test::runJob(view, test::Job::Encrypt, {dir.file("v.bin")}).allDone());
    EXPECT_EQ(test::readBytes(dir.file("v.bin.aes")).size(), 31u + 400016u);
}

TEST_F(RealConditionsTest, OutputFolderOnAnotherFileSystem) {
    if (!io::isDirectory("/dev/shm")) {
        GTEST_SKIP() << "no /dev/shm here";
    }
    const std::string base = "/dev/shm/marnoq-" + std::to_string(::getpid());
    test::writeBytes(base + ".bin", test::randomBytes(70000));
    EXPECT_TRUE(test::runJob(view, test::Job::Encrypt, {base + ".bin"}).allDone());
    EXPECT_TRUE(test::runJob(view, test::Job::Decrypt, {base + ".bin.aes"}).allDone());
    EXPECT_EQ(test::readBytes(base + "-dec.bin"), test::randomBytes(70000));
    for (const char* tail : {".bin", ".bin.aes", "-dec.bin"}) {
        ::unlink((base + tail).c_str());
    }
}

TEST_F(RealConditionsTest, TwoCommandLineRunsOnTheSameFileAtOnce) {
    test::writeBytes(dir.file("shared.bin"), test::randomBytes(30 << 20));
    test::writeText(dir.file("pw"), "pw\n");
    ::chmod(dir.file("pw").c_str(), 0600);
    const std::vector<std::string> args{MARNOQ_CLI, "encrypt", "--password-file",
                                        "pw",       "-f",      "shared.bin"};
    test::Process first(args, dir.path());
    test::Process second(args, dir.path());
    EXPECT_EQ(first.wait().status, 0);
    EXPECT_EQ(second.wait().status, 0);
    auto verify =
        test::run({MARNOQ_CLI, "verify", "--password-file", "pw", "shared.bin.aes"}, dir.path());
    EXPECT_EQ(verify.status, 0) << verify.err;
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"pw", "shared.bin", "shared.bin.aes"}));
}

}  // namespace
}  // namespace marnoq
