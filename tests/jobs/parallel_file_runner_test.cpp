#include "jobs/parallel_file_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "support/fake_view.h"

namespace marnoq {
namespace {

using jobs::FileOutcome;

// Runs `job` for the files on two workers, as the encrypt job would.
jobs::JobReport runOnTwo(test::FakeView& view, std::vector<std::string> files,
                         const jobs::ParallelFileRunner::Job& job) {
    view.list1 = std::move(files);
    return jobs::ParallelFileRunner(view, jobs::FileList::Encrypt, 2).run(job, " , EncryptTime: ");
}

// An error no job expects (memory running out, say) ends its own file with the error's text;
// the files before it keep their results.
TEST(ParallelFileRunner, AnUnexpectedErrorEndsItsFileWithItsText) {
    test::FakeView view;
    const auto report = runOnTwo(view, {"a", "b", "c"}, [](jobs::JobView& one) {
        const std::string file = one.entry(jobs::FileList::Encrypt, 0);
        if (file == "b") {
            throw std::runtime_error("Nicht genug Speicher");
        }
        jobs::JobReport done;
        done.started = true;
        done.files.push_back({file, FileOutcome::Done});
        return done;
    });
    ASSERT_GE(report.files.size(), 2u);
    EXPECT_EQ(report.files[0].outcome, FileOutcome::Done);
    EXPECT_EQ(report.files[1].path, "b");
    EXPECT_EQ(report.files[1].outcome, FileOutcome::Failed);
    ASSERT_FALSE(view.boxes.empty());
    EXPECT_EQ(view.boxes[0].text, "Nicht genug Speicher");
}

// A file written just before it saw the stop keeps its record, though an earlier one stopped.
TEST(ParallelFileRunner, AFileWrittenAsTheStopCameKeepsItsRecord) {
    test::FakeView view;
    std::atomic<bool> written{false};
    const auto report = runOnTwo(view, {"a", "b"}, [&](jobs::JobView& one) {
        jobs::JobReport stopped;
        stopped.started = stopped.aborted = true;
        if (one.entry(jobs::FileList::Encrypt, 0) == "a") {
            while (!written) {
                std::this_thread::yield();
            }
        } else {
            stopped.files.push_back({"b", FileOutcome::Done});
            written = true;
        }
        return stopped;
    });
    EXPECT_TRUE(report.aborted);
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0].path, "b");
}

}  // namespace
}  // namespace marnoq
