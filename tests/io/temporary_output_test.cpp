#include "io/temporary_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "io/file_error.h"
#include "io/file_system.h"
#include "support/temp_dir.h"

namespace marnoq {
namespace {

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(TemporaryOutput, DestinationIsUntouchedUntilCommit) {
    test::TempDir dir;
    const std::string target = dir.file("ziel datei.txt");
    test::writeText(target, "old");
    {
        io::TemporaryOutput out(target, 0640);
        out.file().write(bytesOf("new bytes"));
        out.file().writeAt(0, bytesOf("NEW"));
        EXPECT_EQ(test::readBytes(target), std::vector<std::uint8_t>({'o', 'l', 'd'}));
        EXPECT_NE(out.path().find(".ziel datei.txt.aes-marnoq-tmp-"), std::string::npos);
        out.commit();
    }
    auto now = test::readBytes(target);
    EXPECT_EQ(std::string(now.begin(), now.end()), "NEW bytes");
    EXPECT_EQ(io::permissionBits(target) & ~0022u, 0640u & ~0022u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"ziel datei.txt"});
}

TEST(TemporaryOutput, RemovesItselfWhenNotCommitted) {
    test::TempDir dir;
    test::writeText(dir.file("keep"), "old");
    {
        io::TemporaryOutput out(dir.file("keep"), 0644);
        out.file().write(bytesOf("partial"));
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep"});
    EXPECT_THROW(io::TemporaryOutput(dir.file("no/such/folder"), 0644), io::FileError);
}

TEST(TemporaryOutput, ADirectoryInTheWayFailsTheCommit) {
    test::TempDir dir;
    ::mkdir(dir.file("taken").c_str(), 0755);
    ::mkdir(dir.file("taken/inner").c_str(), 0755);
    io::TemporaryOutput out(dir.file("taken"), 0644);
    EXPECT_THROW(out.commit(), io::FileError);
    out.discard();
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"taken"});
}

}  // namespace
}  // namespace marnoq
