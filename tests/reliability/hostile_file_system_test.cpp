#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <utility>

#include "io/fault_injection.h"
#include "io/folder_walk.h"
#include "jobs/job_fixture.h"
#include "support/process.h"

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

struct SwapCase {
    const char* name;
    bool decrypting;
    // The step before which the walked folder is swapped for a link to the victim's folder
    // outside the tree, or for the victim's folder inside it; Stat: between walk and job.
    FileOperation moment;
};

const SwapCase kSwaps[] = {
    {"encrypt, before the job", false, FileOperation::Stat},
    {"encrypt, at opening the input", false, FileOperation::Open},
    {"encrypt, at creating the output", false, FileOperation::Create},
    {"encrypt, at naming the output", false, FileOperation::Rename},
    {"decrypt, before the job", true, FileOperation::Stat},
    {"decrypt, at opening the input", true, FileOperation::Open},
    {"decrypt, at creating the output", true, FileOperation::Create},
    {"decrypt, at naming the output", true, FileOperation::Rename},
};

class HostileFileSystem : public test::JobTest {};

std::vector<std::pair<SwapCase, bool>> cases() {
    std::vector<std::pair<SwapCase, bool>> all;
    for (const auto& swap : kSwaps) {
        for (const bool insideTree : {false, true}) {
            all.emplace_back(swap, insideTree);
        }
    }
    return all;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Another user owns a folder inside a tree walked with -r and swaps it for a link to a folder
// of the victim's, or for the victim's folder in the same tree, between two steps of a job; a
// link to a secret file waits in the tree too. Nothing of the victim's is read, written or
// replaced, whatever the moment.
TEST_F(HostileFileSystem, ASwappedFolderNeverLeadsOutOfTheWalkedTree) {
    for (const auto& [swap, insideTree] : cases()) {
        SCOPED_TRACE(std::string(swap.name) + (insideTree ? ", folder in the tree" : ", link"));
        test::TempDir root;
        const std::string tree = root.file("geteilt");
        const std::string outside = insideTree ? tree + "/anders" : root.file("sicherung");
        test::makeFolder(tree);
        test::makeFolder(tree + "/fremd");
        test::makeFolder(outside);
        const std::string inputName = swap.decrypting ? "brief.txt.aes" : "brief.txt";
        const std::string outputName = swap.decrypting ? "brief.txt" : "brief.txt.aes";
        test::writeText(outside + "/brief.txt", "Geheimnis des Opfers");
        test::writeText(outside + "/brief.txt.aes", "Sicherung des Opfers");
        test::writeText(outside + "/geheim.txt", "nur für root");
        ASSERT_EQ(::symlink((outside + "/geheim.txt").c_str(), (tree + "/verweis.txt").c_str()), 0);
        const std::string plain = tree + "/fremd/brief.txt";
        test::writeText(plain, "vom Angreifer");
        if (swap.decrypting) {
            view.list1 = {plain};
            view.setPassword("pw");
            ASSERT_TRUE(jobs::cmdEnc_Click(view).allDone());
            ::unlink(plain.c_str());
        }
        const io::FolderWalk walk = io::walkFolder(tree);
        const std::string listed = tree + "/fremd/" + inputName;
        std::vector<std::string> files = walk.files;
        std::erase_if(files, [&](const std::string& file) { return file != listed; });
        EXPECT_EQ(files, std::vector<std::string>{listed});
        EXPECT_EQ(walk.links, std::vector<std::string>{tree + "/verweis.txt"});

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
        if (swap.moment == FileOperation::Stat) {
            swapFolder();
        }
        test::FakeView job;
        job.setPassword("pw");
        (swap.decrypting ? job.list2 : job.list1) = {listed};
        job.suffixMode = false;
        jobs::JobReport report;
        {
            SwapAt at(swap.moment, swapFolder);
            report = swap.decrypting ? jobs::cmdDec_Click(job) : jobs::cmdEnc_Click(job);
        }
        EXPECT_EQ(test::readText(victim + "/brief.txt"), "Geheimnis des Opfers");
        EXPECT_EQ(test::readText(victim + "/brief.txt.aes"), "Sicherung des Opfers");
        EXPECT_EQ(namesIn(victim),
                  (std::set<std::string>{"brief.txt", "brief.txt.aes", "geheim.txt"}));
        struct stat info {};
        if (swap.moment == FileOperation::Stat) {
            // The folder now on the way is not the one walked: the file is refused.
            EXPECT_FALSE(report.allDone());
            ASSERT_EQ(job.boxes.size(), 1u);
            EXPECT_NE(job.boxes[0].text.find(listed), std::string::npos) << job.boxes[0].text;
            EXPECT_NE(job.boxes[0].text.find("während der Verarbeitung durch einen anderen"),
                      std::string::npos)
                << job.boxes[0].text;
        } else {
            // Once looked up, the folder is the one the job works in, wherever it is moved.
            EXPECT_TRUE(report.allDone());
            EXPECT_EQ(::lstat((tree + "/fremd.alt/" + outputName).c_str(), &info), 0);
        }
    }
}

// Someone else's file takes the output's name while the output is written. It stays unless
// the user, asked again, says to replace it; with the named stand-in as with nameless files.
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
            job.setPassword("pw");
            job.list1 = {dir.file("neu.txt")};
            job.replaceAnswers = {answer};
            jobs::JobReport report;
            {
                SwapAt at(FileOperation::Rename, [&] { test::writeText(output, "fremd"); });
                report = jobs::cmdEnc_Click(job);
            }
            ::unsetenv("MARNOQ_NO_TMPFILE");
            EXPECT_EQ(job.replaceQuestions, std::vector<std::string>{output});
            EXPECT_EQ(report.allDone(), answer == jobs::ReplaceAnswer::Replace);
            EXPECT_EQ(test::readText(output) == "fremd", answer == jobs::ReplaceAnswer::Skip);
            if (answer == jobs::ReplaceAnswer::Skip) {
                ASSERT_EQ(job.boxes.size(), 1u);
                EXPECT_NE(job.boxes[0].text.find("während der Verarbeitung eine Datei entstanden"),
                          std::string::npos)
                    << job.boxes[0].text;
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
        UniqueFdForTest folder(::open(where_.c_str(), O_RDONLY | O_DIRECTORY));
        std::uint32_t flags = 1;  // the journal flushed, the data not
        ASSERT_EQ(::ioctl(folder.fd, _IOR('X', 125, std::uint32_t), &flags), 0);
        folder.close();
        ASSERT_EQ(::umount(where_.c_str()), 0);
        mounted_ = mount();
        ASSERT_TRUE(mounted_);
    }

  private:
    struct UniqueFdForTest {
        explicit UniqueFdForTest(int f) : fd(f) {}
        ~UniqueFdForTest() { close(); }
        void close() {
            if (fd >= 0) {
                ::close(fd);
            }
            fd = -1;
        }
        int fd;
    };
    static bool shell(const std::string& command) { return std::system(command.c_str()) == 0; }
    bool mount() {
        return shell("mount -o loop,commit=1 '" + image_ + "' '" + where_ + "' 2>/dev/null");
    }
    std::string image_, where_;
    bool mounted_ = false;
};

// Files reported done survive a power cut that follows at once: data before names.
TEST_F(HostileFileSystem, APowerCutAfterASuccessfulRunLosesNoOutput) {
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
    test::writeText(dir.file("pw"), "pw\n");
    ::chmod(dir.file("pw").c_str(), 0600);
    const auto encrypted = test::run(
        {MARNOQ_CLI, "encrypt", "--password-file", dir.file("pw"), "-q", "-r", folder}, dir.path());
    ASSERT_EQ(encrypted.status, 0) << encrypted.err;
    disk.cutAndRemount();
    const auto verified =
        test::run({MARNOQ_CLI, "verify", "--password-file", dir.file("pw"), "--json", "-r", folder},
                  dir.path());
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_EQ(std::count(verified.out.begin(), verified.out.end(), '\n'), 31) << verified.out;
}

}  // namespace
}  // namespace marnoq
