#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <utility>

#include "io/fault_injection.h"
#include "io/file_system.h"
#include "io/folder_walk.h"
#include "io/unique_fd.h"
#include "jobs/job_fixture.h"
#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using io::FileOperation;

// Runs `act` once, at the first operation of the given kind: a swap at a known step of a job.
class SwapAt : public io::FaultInjector {
  public:
    SwapAt(FileOperation operation, std::function<void()> act)
        : operation_(operation), act_(std::move(act)) {
        io::setFaultInjector(this);
    }
    ~SwapAt() override { io::setFaultInjector(nullptr); }
    int failureFor(FileOperation operation, const std::string&) override {
        if (operation == operation_ && act_) {
            std::exchange(act_, nullptr)();
        }
        return 0;
    }

  private:
    FileOperation operation_;
    std::function<void()> act_;
};

// The steps before which the walked folder is swapped for a link to the victim's folder outside
// the tree, or for the victim's folder inside it; Stat: between walk and job.
const std::pair<FileOperation, const char*> kMoments[] = {
    {FileOperation::Stat, "before the job"},
    {FileOperation::Open, "at opening the input"},
    {FileOperation::Create, "at creating the output"},
    {FileOperation::Rename, "at naming the output"},
};

class HostileFileSystem : public test::JobTest {};

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

void swapFolderDuringJob(test::Job kind, FileOperation moment, bool insideTree) {
    const bool decrypting = kind == test::Job::Decrypt;
    test::TempDir root;
    const std::string tree = root.file("geteilt");
    const std::string outside = insideTree ? tree + "/anders" : root.file("sicherung");
    test::makeFolder(tree);
    test::makeFolder(tree + "/fremd");
    test::makeFolder(outside);
    test::writeText(outside + "/brief.txt", "Geheimnis des Opfers");
    test::writeText(outside + "/brief.txt.aes", "Sicherung des Opfers");
    const std::string plain = tree + "/fremd/brief.txt";
    test::writeText(plain, "vom Angreifer");
    if (decrypting) {
        test::FakeView encrypting;
        ASSERT_TRUE(test::runJob(encrypting, test::Job::Encrypt, {plain}, "pw").allDone());
        ::unlink(plain.c_str());
    }
    const io::FolderWalk walk = io::walkFolder(tree);
    const std::string listed = tree + "/fremd/" + (decrypting ? "brief.txt.aes" : "brief.txt");
    EXPECT_EQ(std::count(walk.files.begin(), walk.files.end(), listed), 1);

    std::string victim = outside;
    auto swapFolder = [&] {
        ASSERT_EQ(::rename((tree + "/fremd").c_str(), (tree + "/fremd.alt").c_str()), 0);
        if (insideTree) {
            ASSERT_EQ(::rename(outside.c_str(), (tree + "/fremd").c_str()), 0);
            victim = tree + "/fremd";
        } else {
            ASSERT_EQ(::symlink(outside.c_str(), (tree + "/fremd").c_str()), 0);
        }
    };
    if (moment == FileOperation::Stat) {
        swapFolder();
    }
    test::FakeView job;
    job.suffixMode = false;
    jobs::JobReport report;
    {
        SwapAt at(moment, swapFolder);
        report = test::runJob(job, kind, {listed}, "pw");
    }
    EXPECT_EQ(test::readText(victim + "/brief.txt"), "Geheimnis des Opfers");
    EXPECT_EQ(test::readText(victim + "/brief.txt.aes"), "Sicherung des Opfers");
    EXPECT_EQ(namesIn(victim), (std::set<std::string>{"brief.txt", "brief.txt.aes"}));
    if (moment == FileOperation::Stat) {
        // The folder now on the way is not the one walked: the file is refused.
        EXPECT_FALSE(report.allDone());
        ASSERT_EQ(job.boxes.size(), 1u);
        EXPECT_NE(job.boxes[0].text.find(listed), std::string::npos) << job.boxes[0].text;
        EXPECT_PRED2(test::contains, job.boxes[0].text,
                     "während der Verarbeitung durch einen anderen");
    } else {
        // Once looked up, the folder is the one the job works in, wherever it is moved.
        EXPECT_TRUE(report.allDone());
        EXPECT_TRUE(
            io::exists(tree + "/fremd.alt/" + (decrypting ? "brief.txt" : "brief.txt.aes")));
    }
}

// Another user owns a folder inside a tree walked with -r and swaps it for a link to a folder
// of the victim's, or for the victim's folder in the same tree, between two steps of a job.
// Nothing of the victim's is read, written or replaced, whatever the moment.
TEST_F(HostileFileSystem, ASwappedFolderNeverLeadsOutOfTheWalkedTree) {
    for (const auto kind : {test::Job::Encrypt, test::Job::Decrypt}) {
        for (const auto& [moment, when] : kMoments) {
            for (const bool insideTree : {false, true}) {
                SCOPED_TRACE(std::string(kind == test::Job::Decrypt ? "decrypt, " : "encrypt, ") +
                             when + (insideTree ? ", folder in the tree" : ", link"));
                swapFolderDuringJob(kind, moment, insideTree);
            }
        }
    }
}

// Someone else's file takes the output's name while the output is written. It stays unless
// the user, asked again, says to replace it; with the named stand-in as with nameless files.
// A walked file swapped for a link to the victim's file is not followed.
TEST_F(HostileFileSystem, AWalkedFileSwappedForALinkIsNotFollowed) {
    test::makeFolder(dir.file("baum"));
    test::writeText(dir.file("baum/brief.txt"), "vom Angreifer");
    test::writeText(dir.file("geheim.txt"), "Geheimnis des Opfers");
    const io::FolderWalk walk = io::walkFolder(dir.file("baum"));
    ASSERT_EQ(::unlink(dir.file("baum/brief.txt").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("geheim.txt").c_str(), dir.file("baum/brief.txt").c_str()), 0);
    EXPECT_FALSE(test::runJob(view, test::Job::Encrypt, walk.files).allDone());
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"baum", "geheim.txt"}));
    EXPECT_EQ(namesIn(dir.file("baum")), std::set<std::string>{"brief.txt"});
}

TEST_F(HostileFileSystem, AFileThatTakesTheNameMeanwhileIsAskedAbout) {
    for (const bool named : {false, true}) {
        for (const auto answer : {jobs::ReplaceAnswer::Skip, jobs::ReplaceAnswer::Replace}) {
            SCOPED_TRACE(std::string(named ? "named" : "nameless") +
                         (answer == jobs::ReplaceAnswer::Skip ? ", kept" : ", replaced"));
            if (named) {
                ::setenv("MARNOQ_NO_TMPFILE", "1", 1);
            }
            const std::string output = dir.file("neu.txt.aes");
            ::unlink(output.c_str());
            test::writeText(dir.file("neu.txt"), "neu");
            test::FakeView job;
            job.replaceAnswers = {answer};
            jobs::JobReport report;
            {
                SwapAt at(FileOperation::Rename, [&] { test::writeText(output, "fremd"); });
                report = test::runJob(job, test::Job::Encrypt, {dir.file("neu.txt")}, "pw");
            }
            ::unsetenv("MARNOQ_NO_TMPFILE");
            EXPECT_EQ(job.replaceQuestions, std::vector<std::string>{output});
            EXPECT_EQ(report.allDone(), answer == jobs::ReplaceAnswer::Replace);
            EXPECT_EQ(test::readText(output) == "fremd", answer == jobs::ReplaceAnswer::Skip);
            if (answer == jobs::ReplaceAnswer::Skip) {
                ASSERT_EQ(job.boxes.size(), 1u);
                EXPECT_PRED2(test::contains, job.boxes[0].text,
                             "während der Verarbeitung eine Datei entstanden");
            }
            EXPECT_EQ(dir.entries(), (std::vector<std::string>{"neu.txt", "neu.txt.aes"}));
        }
    }
}

// An ext4 image of our own, mounted through a loop device, when the test may (root).
class LoopDisk {
  public:
    explicit LoopDisk(const test::TempDir& dir)
        : image_(dir.file("platte.img")), where_(dir.file("platte")) {
        test::makeFolder(where_);
        mounted_ = shell("truncate -s 64M '" + image_ + "' && mkfs.ext4 -q -F '" + image_ +
                         "' 2>/dev/null") &&
                   mount();
    }
    ~LoopDisk() {
        if (mounted_) {
            ::umount2(where_.c_str(), MNT_DETACH);
        }
    }
    bool mounted() const { return mounted_; }
    const std::string& path() const { return where_; }
    // Cuts the power: the journal reaches the disk, data still in memory does not.
    void cutAndRemount() {
        io::UniqueFd folder(::open(where_.c_str(), O_RDONLY | O_DIRECTORY));
        std::uint32_t flags = 1;  // the journal flushed, the data not
        ASSERT_EQ(::ioctl(folder.get(), _IOR('X', 125, std::uint32_t), &flags), 0);
        folder.reset();
        ASSERT_EQ(::umount(where_.c_str()), 0);
        mounted_ = mount();
        ASSERT_TRUE(mounted_);
    }

  private:
    static bool shell(const std::string& command) { return std::system(command.c_str()) == 0; }
    bool mount() {
        return shell("mount -o loop,commit=1 '" + image_ + "' '" + where_ + "' 2>/dev/null");
    }
    std::string image_, where_;
    bool mounted_ = false;
};

using PowerCut = test::CliTest;

// Files reported done survive a power cut that follows at once: data before names.
TEST_F(PowerCut, AfterASuccessfulRunNoOutputIsLost) {
    LoopDisk disk(dir);
    if (::geteuid() != 0 || !disk.mounted()) {
        GTEST_SKIP() << "needs root and a loop device to mount an ext4 image";
    }
    const std::string folder = disk.path() + "/daten";
    test::makeFolder(folder);
    test::writeBytes(folder + "/gross.bin", test::randomBytes(3 << 20, 7));
    for (int i = 0; i < 30; ++i) {
        test::writeBytes(folder + "/klein" + std::to_string(i), test::randomBytes(i * 1001, i));
    }
    ::sync();
    const auto encrypted = cli({"encrypt", "--password-file", "pw", "-q", "-r", folder});
    ASSERT_EQ(encrypted.status, 0) << encrypted.err;
    disk.cutAndRemount();
    const auto verified = cli({"verify", "--password-file", "pw", "--json", "-r", folder});
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_EQ(std::count(verified.out.begin(), verified.out.end(), '\n'), 31) << verified.out;
}

}  // namespace
}  // namespace marnoq
