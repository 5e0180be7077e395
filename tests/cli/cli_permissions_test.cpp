#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using test::CliTest;
using test::run;

TEST_F(CliTest, PasswordFileReadableByOthersIsWarnedAbout) {
    test::writeText(dir.file("x"), "x");
    ::chmod(dir.file("pw").c_str(), 0644);
    auto result = cli({"encrypt", "--password-file", "pw", "x"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.err.find("für andere Benutzer lesbar"), std::string::npos);
}

// Permission tests mean nothing as root: drop to nobody for them.
TEST_F(CliTest, FolderWithoutWritePermission) {
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "needs root and setpriv to run the program as an unprivileged user";
    }
    ::chmod(dir.path().c_str(), 0755);  // nobody may enter and read, not write
    test::writeText(dir.file("a.txt"), "plain");
    ::chmod(dir.file("a.txt").c_str(), 0644);
    auto result = run({"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
                       MARNOQ_CLI, "encrypt", "--password-stdin", "a.txt"},
                      dir.path(), "geheim\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Fehler beim Schreiben! Mögliche Ursachen:\n1. Der aktuelle Ordner "
                              "befindet sich auf einen schreibgeschützten Datenträger.\n2. Sie "
                              "besitzen nicht die erforderlichen Rechte um in diesen Ordner zu "
                              "schreiben.\n" + dir.file("a.txt.aes")),
              std::string::npos)
        << result.err;
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.txt", "pw"}));
}

}  // namespace
}  // namespace marnoq
