#include <gtest/gtest.h>

#include "io/file_error.h"
#include "io/temporary_output.h"
#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "support/fake_view.h"
#include "support/fault_plan.h"
#include "support/temp_dir.h"

namespace marnoq {
namespace {

using io::FileOperation;

const FileOperation kOperations[] = {
    FileOperation::Open, FileOperation::Create, FileOperation::Read, FileOperation::Write,
    FileOperation::Sync, FileOperation::Rename, FileOperation::Stat};

// Two entries, each with an older output. The output of the entry that fails keeps its exact
// bytes; an entry after it is never reached; one before it is complete.
class FaultMatrix : public ::testing::TestWithParam<bool> {
  protected:
    bool decrypting() const { return GetParam(); }
    void prepare() {
        const auto first = test::randomBytes(650000, 1);
        const auto second = test::randomBytes(1000, 2);
        test::writeBytes(dir.file("erste Datei.bin"), first);
        test::writeBytes(dir.file("zweite.bin"), second);
        if (decrypting()) {
            test::FakeView helper;
            helper.list1 = {dir.file("erste Datei.bin"), dir.file("zweite.bin")};
            helper.setPassword("pw");
            ASSERT_TRUE(jobs::cmdEnc_Click(helper).allDone());
            view.list2 = {dir.file("erste Datei.bin.aes"), dir.file("zweite.bin.aes")};
            outputs = {dir.file("erste Datei-dec.bin"), dir.file("zweite-dec.bin")};
            sources = view.list2;
        } else {
            view.list1 = {dir.file("erste Datei.bin"), dir.file("zweite.bin")};
            outputs = {dir.file("erste Datei.bin.aes"), dir.file("zweite.bin.aes")};
            sources = view.list1;
        }
        view.setPassword("pw");
        // What a complete run leaves under each output name.
        test::FakeView dry = view;
        ASSERT_TRUE((decrypting() ? jobs::cmdDec_Click(dry) : jobs::cmdEnc_Click(dry)).allDone());
        for (const auto& output : outputs) {
            complete.push_back(test::readBytes(output));
        }
        restoreOlder();
    }
    void restoreOlder() {
        for (const auto& output : outputs) {
            test::writeText(output, kOlder);
        }
    }
    static constexpr const char* kOlder = "older output, exact bytes";
    jobs::JobReport runJob() {
        return decrypting() ? jobs::cmdDec_Click(view) : jobs::cmdEnc_Click(view);
    }
    test::TempDir dir;
    test::FakeView view;
    std::vector<std::string> sources, outputs;
    std::vector<std::vector<std::uint8_t>> complete;
};

TEST_P(FaultMatrix, EveryOperationFailsInTurnAndNothingIsLost) {
    prepare();
    int tried = 0;
    for (FileOperation operation : kOperations) {
        int total = 0;
        {
            test::FaultPlan counter(operation, 0, 0);
            test::FakeView dry = view;
            (decrypting() ? jobs::cmdDec_Click(dry) : jobs::cmdEnc_Click(dry));
            total = counter.count();
        }
        restoreOlder();
        const auto before = dir.entries();
        for (int nth = 1; nth <= total; ++nth) {
            for (int code : {EIO, ENOSPC, EACCES}) {
                SCOPED_TRACE(std::string(io::operationName(operation)) + " #" +
                             std::to_string(nth) + " errno " + std::to_string(code));
                view.boxes.clear();
                jobs::JobReport report;
                {
                    test::FaultPlan plan(operation, nth, code);
                    report = runJob();
                }
                ++tried;
                EXPECT_FALSE(report.allDone());
                ASSERT_EQ(view.boxes.size(), 1u);
                const std::string& text = view.boxes[0].text;
                EXPECT_TRUE(text.find(dir.path()) != std::string::npos) << text;
                EXPECT_TRUE(text.rfind("Fehler beim ", 0) == 0) << text;
                const bool secondFailed = text.find(sources[1]) != std::string::npos ||
                                          text.find(outputs[1]) != std::string::npos;
                const auto first = test::readBytes(outputs[0]);
                if (secondFailed) {
                    EXPECT_EQ(first, complete[0]);
                } else {
                    EXPECT_EQ(std::string(first.begin(), first.end()), kOlder);
                }
                const auto second = test::readBytes(outputs[1]);
                EXPECT_EQ(std::string(second.begin(), second.end()), kOlder);
                EXPECT_EQ(dir.entries(), before) << "a temporary output was left";
                restoreOlder();
            }
        }
    }
    EXPECT_GT(tried, 30);
    std::printf("fault matrix (%s): %d faults, 0 files lost\n",
                decrypting() ? "decrypt" : "encrypt", tried);
}

INSTANTIATE_TEST_SUITE_P(Jobs, FaultMatrix, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Decrypt" : "Encrypt"; });

}  // namespace
}  // namespace marnoq
