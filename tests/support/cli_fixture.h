#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/process.h"
#include "support/temp_dir.h"

namespace marnoq::test {

// Runs the command-line program (MARNOQ_CLI, set by the test target) in a fresh folder that
// holds a private password file "pw".
class CliTest : public ::testing::Test {
  protected:
    ProcessResult cli(std::vector<std::string> args, const std::string& input = "") {
        args.insert(args.begin(), MARNOQ_CLI);
        return run(args, dir.path(), input);
    }
    void SetUp() override {
        writeText(dir.file("pw"), "Geheim 42\n");
        ::chmod(dir.file("pw").c_str(), 0600);
    }
    TempDir dir;
};

}  // namespace marnoq::test
