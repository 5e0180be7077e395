#include <stdlib.h>
#include <sys/stat.h>

#include "io/file_system.h"
#include "jobs/job_fixture.h"
#include "jobs/path_functions.h"

namespace marnoq {
namespace {

using test::Job;

class OutputFilesTest : public test::JobTest {
  protected:
    // A name of exactly `length` bytes ending in `tail`.
    static std::string nameOf(std::size_t length, const std::string& tail) {
        return std::string(length - tail.size(), 'n') + tail;
    }
    // One file in a window of its own; `boxes` counts its messages.
    bool run(Job job, const std::string& name, bool suffixed = true,
             jobs::DecryptTarget target = jobs::DecryptTarget::WriteFiles) {
        test::FakeView window;
        window.suffixMode = suffixed;
        const bool done = test::runJob(window, job, {dir.file(name)}, "geheim", target).allDone();
        boxes = window.boxes.size();
        return done;
    }
    std::size_t boxes = 0;
};

// Every name up to the file system's limit works: the temporary costs no length of its own.
TEST_F(OutputFilesTest, NamesUpToTheLimitInBothNamingModes) {
    const auto bytes = test::randomBytes(70000);
    for (const bool named : {false, true}) {
        if (named) {
            ::setenv("MARNOQ_NO_TMPFILE", "1", 1);
        }
        for (std::size_t length = 250; length <= 255; ++length) {
            SCOPED_TRACE(std::to_string(length) + (named ? " named" : " nameless"));
            const std::string plain = nameOf(length - 4, ".bin");
            const std::string encrypted = plain + ".aes";
            test::writeBytes(dir.file(plain), bytes);
            ASSERT_TRUE(run(Job::Encrypt, plain));
            EXPECT_TRUE(run(Job::Decrypt, encrypted, true, jobs::DecryptTarget::VerifyOnly));
            EXPECT_TRUE(run(Job::Decrypt, encrypted));
            const std::string suffixed = nameOf(length, "-dec.bin");
            EXPECT_EQ(test::readBytes(dir.file(suffixed)), bytes);
            ::unlink(dir.file(plain).c_str());
            EXPECT_TRUE(run(Job::Decrypt, encrypted, false));
            EXPECT_EQ(test::readBytes(dir.file(plain)), bytes);
            EXPECT_EQ(dir.entries(), (std::vector<std::string>{suffixed, plain, encrypted}));
            for (const auto& name : {plain, encrypted, suffixed}) {
                ::unlink(dir.file(name).c_str());
            }
        }
        // One byte more than the folder can hold fails before anything is written.
        const std::string plain = nameOf(252, ".bin");
        test::writeBytes(dir.file(plain), bytes);
        EXPECT_FALSE(run(Job::Encrypt, plain));
        EXPECT_EQ(boxes, 1u);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{plain});
        ::unlink(dir.file(plain).c_str());
        ::unsetenv("MARNOQ_NO_TMPFILE");
    }
}

// Plaintext is the owner's alone whatever the encrypted file allowed; ciphertext keeps the
// plain file's mode.
TEST_F(OutputFilesTest, ModesOfOutputsUnderEachUmask) {
    const struct {
        bool decrypting;
        mode_t source, mask, expected;
    } cases[] = {
        {true, 0600, 022, 0600},  {true, 0644, 022, 0600},  {true, 0666, 022, 0600},
        {true, 0600, 077, 0600},  {true, 0644, 077, 0600},  {true, 0666, 077, 0600},
        {true, 0644, 0277, 0400}, {false, 0644, 022, 0644}, {false, 0666, 077, 0600},
    };
    const std::string encrypted = makeEncrypted("m.txt", test::randomBytes(100));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.source) + " umask " + std::to_string(c.mask));
        const std::string source = c.decrypting ? encrypted : dir.file("m.txt");
        const std::string output = c.decrypting ? dir.file("m-dec.txt") : encrypted;
        ::unlink(output.c_str());
        ::chmod(source.c_str(), c.source);
        const mode_t saved = ::umask(c.mask);
        const bool done =
            c.decrypting ? run(Job::Decrypt, "m.txt.aes") : run(Job::Encrypt, "m.txt");
        ::umask(saved);
        EXPECT_TRUE(done);
        EXPECT_EQ(io::permissionBits(output), c.expected);
    }
}

// Two outputs exist already. Whatever the user answers, an older file keeps its bytes unless
// it was to be replaced, and a cancel leaves the second file unstarted.
TEST_F(OutputFilesTest, TheUserDecidesWhetherAnExistingOutputIsReplaced) {
    using enum jobs::FileOutcome;
    using enum jobs::ReplaceAnswer;
    struct Case {
        std::vector<jobs::ReplaceAnswer> answers;
        std::size_t questions;
        bool firstReplaced, secondReplaced;
        jobs::FileOutcome first, second;
    } cases[] = {
        {{Replace, Replace}, 2, true, true, Done, Done},
        {{ReplaceAll}, 1, true, true, Done, Done},
        {{Skip, Replace}, 2, false, true, NotReplaced, Done},
        {{Cancel}, 1, false, false, NotReplaced, Done},
    };
    for (const Job job : {Job::Encrypt, Job::Decrypt}) {
        const bool decrypting = job == Job::Decrypt;
        const std::vector<std::string> plain = {dir.file("eins.txt"), dir.file("zwei.txt")};
        std::vector<std::string> inputs, outputs;
        for (const auto& path : plain) {
            test::writeText(path, "neu " + path);
            inputs.push_back(decrypting ? makeEncrypted(jobs::Nurdatei(path), {'n'}) : path);
            outputs.push_back(decrypting ? path : path + ".aes");
        }
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(decrypting ? "decrypt, " : "encrypt, ") +
                         std::to_string(c.answers.size()) + " answers");
            for (const auto& output : outputs) {
                test::writeText(output, "älter");
            }
            test::FakeView window;
            window.suffixMode = false;
            window.replaceAnswers = c.answers;
            const auto report = test::runJob(window, job, inputs);
            EXPECT_EQ(window.replaceQuestions.size(), c.questions);
            EXPECT_EQ(window.replaceQuestions.front(), outputs[0]);
            EXPECT_EQ(test::readText(outputs[0]) != "älter", c.firstReplaced);
            EXPECT_EQ(test::readText(outputs[1]) != "älter", c.secondReplaced);
            ASSERT_EQ(report.files.size(), c.answers.front() == Cancel ? 1u : 2u);
            EXPECT_EQ(report.files[0].outcome, c.first);
            EXPECT_EQ(report.files.back().outcome, report.files.size() == 1 ? c.first : c.second);
            EXPECT_TRUE(window.boxes.empty());
        }
    }
}

}  // namespace
}  // namespace marnoq
