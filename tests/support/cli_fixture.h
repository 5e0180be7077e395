#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <optional>
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
#ifndef _WIN32
    // Permissions and limits do not bind root, who runs the command as nobody instead (the test
    // lets nobody into its folder); nothing where root has no setpriv for it.
    static std::optional<std::vector<std::string>> unprivileged(std::vector<std::string> command) {
        if (::geteuid() == 0) {
            if (::access("/usr/bin/setpriv", X_OK) != 0) {
                return std::nullopt;
            }
            command.insert(command.begin(), {"/usr/bin/setpriv", "--reuid=nobody",
                                             "--regid=nogroup", "--clear-groups"});
        }
        return command;
    }
#endif
    void SetUp() override {
        writeText(dir.file("pw"), "Geheim 42\n");
        ::chmod(dir.file("pw").c_str(), 0600);
    }
    TempDir dir;
};

}  // namespace marnoq::test
