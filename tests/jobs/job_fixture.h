#pragma once

#include <gtest/gtest.h>

#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "support/fake_view.h"
#include "support/temp_dir.h"

namespace marnoq::test {

enum class Job { Encrypt, Decrypt };

// Puts the files in the job's list and the password in every box, then starts the job.
inline jobs::JobReport runJob(FakeView& view, Job job, std::vector<std::string> files,
                              const std::string& password = "geheim",
                              jobs::DecryptTarget target = jobs::DecryptTarget::WriteFiles) {
    (job == Job::Encrypt ? view.list1 : view.list2) = std::move(files);
    view.setPassword(password);
    return job == Job::Encrypt ? jobs::cmdEnc_Click(view) : jobs::cmdDec_Click(view, target);
}

class JobTest : public ::testing::Test {
  protected:
    // Writes a plain file and encrypts it with the password; returns the encrypted path.
    std::string makeEncrypted(const std::string& name, const std::vector<std::uint8_t>& bytes,
                              const std::string& password = "geheim") {
        writeBytes(dir.file(name), bytes);
        FakeView helper;
        EXPECT_TRUE(runJob(helper, Job::Encrypt, {dir.file(name)}, password).allDone());
        return dir.file(name) + ".aes";
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : view.boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }
    TempDir dir;
    FakeView view;
};

}  // namespace marnoq::test
