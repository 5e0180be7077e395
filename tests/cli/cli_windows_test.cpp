#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using test::CliTest;

// A full Windows path with backslashes and wide characters, and binary data through the
// standard streams without line-end translation.
TEST_F(CliTest, WindowsPathsAndBinaryStandardStreams) {
    const std::string plain = dir.path() + "\\Größe 日本.bin";
    const std::vector<std::uint8_t> bytes{'a', '\n', '\r', '\n', 0x1a, 0, 0xff, '\r'};
    test::writeBytes(plain, bytes);
    auto enc = cli({"encrypt", "--password-file", "pw", plain});
    ASSERT_EQ(enc.status, 0) << enc.err;
    auto toStdout = cli({"decrypt", "--password-file", "pw", "-o", "-", plain + ".aes"});
    ASSERT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, std::string(bytes.begin(), bytes.end()));
    auto fromStdin = cli({"encrypt", "--password-file", "pw", "-o", "piped.aes", "-"},
                         std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(fromStdin.status, 0) << fromStdin.err;
    EXPECT_EQ(test::readBytes(dir.file("piped.aes")), test::readBytes(plain + ".aes"));
    // What the program's own expansion left: a pattern no file matched.
    auto pattern = cli({"info", "piped.aes", "*.pdf"});
    EXPECT_EQ(pattern.status, 1);
    EXPECT_NE(pattern.err.find("Keine Datei passt zu dem Muster *.pdf."), std::string::npos);
}

// A program ended from outside in the middle of a file leaves the older output and nothing
// else: the unfinished file is deleted by the system when the process goes.
TEST_F(CliTest, EndedProcessLeavesNoPartialFile) {
    test::setLength(dir.file("big"), std::uint64_t{4} << 30);
    test::writeText(dir.file("big.aes"), "older");
    test::Process process({MARNOQ_CLI, "encrypt", "--password-file", "pw", "-f", "big"},
                          dir.path());
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    process.signal(9);
    EXPECT_EQ(process.wait().status, 128 + 9);
    EXPECT_EQ(test::readText(dir.file("big.aes")), "older");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"big", "big.aes", "pw"}));
}

}  // namespace
}  // namespace marnoq
