#pragma once

#include <gtest/gtest.h>

#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "support/fake_view.h"
#include "support/temp_dir.h"

namespace marnoq::test {

class JobTest : public ::testing::Test {
  protected:
    // Writes a plain file and encrypts it with the password; returns the encrypted path.
    std::string makeEncrypted(const std::string& name, const std::vector<std::uint8_t>& bytes,
                              const std::string& password = "geheim") {
        writeBytes(dir.file(name), bytes);
        FakeView helper;
        helper.list1 = {dir.file(name)};
        helper.setPassword(password);
        EXPECT_TRUE(jobs::cmdEnc_Click(helper).allDone());
        return dir.file(name) + ".aes";
    }
    jobs::JobReport decrypt(std::vector<std::string> files, const std::string& password = "geheim",
                            jobs::DecryptTarget target = jobs::DecryptTarget::WriteFiles) {
        view.list2 = std::move(files);
        view.passwords[2] = password;
        return jobs::cmdDec_Click(view, target);
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
