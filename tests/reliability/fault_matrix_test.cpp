#include <gtest/gtest.h>

#include "io/file_error.h"
#include "io/temporary_output.h"
#include "jobs/job_fixture.h"
#include "jobs/path_functions.h"
#include "support/fault_plan.h"

namespace marnoq {
namespace {

using io::FileOperation;
using test::Job;

const FileOperation kOperations[] = {
    FileOperation::Open, FileOperation::Create, FileOperation::Read, FileOperation::Write,
    FileOperation::Sync, FileOperation::Rename, FileOperation::Stat};

// Two entries, each with an older output. The output of the entry that fails keeps its exact
// bytes; an entry after it is never reached; one before it is complete.
class FaultMatrix : public test::JobTest, public ::testing::WithParamInterface<Job> {
  protected:
    void prepare(std::size_t firstLength) {
        const bool decrypting = GetParam() == Job::Decrypt;
        for (const auto& [name, length] :
             {std::pair("erste Datei.bin", firstLength), {"zweite.bin", 1000}}) {
            const std::string encrypted = makeEncrypted(name, test::randomBytes(length));
            sources.push_back(decrypting ? encrypted : dir.file(name));
            outputs.push_back(decrypting ? jobs::decryptedName(encrypted, true, "-dec")
                                         : encrypted);
        }
        // What a complete run leaves under each output name.
        test::FakeView dry;
        ASSERT_TRUE(test::runJob(dry, GetParam(), sources).allDone());
        for (const auto& output : outputs) {
            complete.push_back(test::readText(output));
        }
        restoreOlder();
    }

    void restoreOlder() {
        for (const auto& output : outputs) {
            test::writeText(output, kOlder);
        }
    }

    // Runs the job in a window of its own with the n-th operation failing; checks that nothing
    // is lost and returns the window for what it shows.
    test::FakeView runFailing(FileOperation operation, int nth, int code) {
        const auto before = dir.entries();
        test::FakeView window;
        {
            test::FaultPlan plan(operation, nth, code);
            EXPECT_FALSE(test::runJob(window, GetParam(), sources).allDone());
        }
        EXPECT_EQ(window.boxes.size(), 1u);
        const std::string text = window.boxes.empty() ? "" : window.boxes[0].text;
        EXPECT_TRUE(text.find(dir.path()) != std::string::npos) << text;
        EXPECT_TRUE(text.rfind("Fehler beim ", 0) == 0) << text;
        const bool secondFailed = text.find(sources[1]) != std::string::npos ||
                                  text.find(outputs[1]) != std::string::npos;
        EXPECT_EQ(test::readText(outputs[0]), secondFailed ? complete[0] : kOlder);
        EXPECT_EQ(test::readText(outputs[1]), kOlder);
        EXPECT_EQ(dir.entries(), before) << "a temporary output was left";
        restoreOlder();
        return window;
    }

    static constexpr const char* kOlder = "older output, exact bytes";

    std::vector<std::string> sources, outputs;
    std::vector<std::string> complete;
};

TEST_P(FaultMatrix, EveryOperationFailsInTurnAndNothingIsLost) {
    prepare(650000);
    int tried = 0;
    for (FileOperation operation : kOperations) {
        int total = 0;
        {
            test::FaultPlan counter(operation, 0, 0);
            test::FakeView dry;
            test::runJob(dry, GetParam(), sources);
            total = counter.count();
        }
        restoreOlder();
        for (int nth = 1; nth <= total; ++nth) {
            for (int code : {EIO, ENOSPC, EACCES}) {
                SCOPED_TRACE(std::string(io::operationName(operation)) + " #" +
                             std::to_string(nth) + " errno " + std::to_string(code));
                runFailing(operation, nth, code);
                ++tried;
            }
        }
    }
    EXPECT_GT(tried, 30);
    std::printf("fault matrix (%s): %d faults, 0 files lost\n",
                GetParam() == Job::Decrypt ? "decrypt" : "encrypt", tried);
}

// A failed write stops the job with the output's name and the cause and leaves the window ready.
// The first file spans several buffers, so the failure comes from the writing thread.
TEST_P(FaultMatrix, WriteFailuresNameTheOutputAndTheCause) {
    prepare(2500000);
    const std::string failedWrite = "Fehler beim Schreiben der Datei:\r\n";
    const struct {
        FileOperation operation;
        int nth, code;
        std::string before, after;
    } cases[] = {
        {FileOperation::Write, 2, ENOSPC, failedWrite,
         "\r\nAuf dem Datenträger ist kein Platz mehr frei."},
        {FileOperation::Write, 2, EIO, failedWrite, "\r\nEin-/Ausgabefehler des Datenträgers."},
        {FileOperation::Create, 1, EACCES,
         "Fehler beim Schreiben! Mögliche Ursachen:\r\n"
         "1. Der aktuelle Ordner befindet sich auf einen schreibgeschützten Datenträger.\r\n"
         "2. Sie besitzen nicht die erforderlichen Rechte um in diesen Ordner zu schreiben.\r\n",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const auto window = runFailing(c.operation, c.nth, c.code);
        ASSERT_EQ(window.boxes.size(), 1u);
        EXPECT_EQ(window.boxes[0].text, c.before + outputs[0] + c.after);
        EXPECT_EQ(window.boxes[0].title, "AES-Marnoq");
        EXPECT_EQ(window.captions[0], "AES Encrypt");
        EXPECT_EQ(window.captions[1], "AES Decrypt");
        EXPECT_EQ(window.pointers.back(), jobs::MousePointer::Arrow);
        EXPECT_EQ(window.status.find("Time"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, FaultMatrix, ::testing::Values(Job::Encrypt, Job::Decrypt),
                         [](const auto& info) {
                             return info.param == Job::Decrypt ? "Decrypt" : "Encrypt";
                         });

}  // namespace
}  // namespace marnoq
