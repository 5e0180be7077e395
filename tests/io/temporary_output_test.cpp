#include "io/temporary_output.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "io/file_error.h"
#include "io/file_system.h"
#include "support/temp_dir.h"

namespace marnoq {
namespace {

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Every case runs with nameless files and with the short named fallback.
class TemporaryOutputTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        if (named()) {
            ::setenv("MARNOQ_NO_TMPFILE", "1", 1);
        }
    }
    void TearDown() override { ::unsetenv("MARNOQ_NO_TMPFILE"); }
    bool named() const { return GetParam(); }
    test::TempDir dir;
};

TEST_P(TemporaryOutputTest, DestinationIsUntouchedUntilCommit) {
    const std::string target = dir.file("ziel datei.txt");
    test::writeText(target, "old");
    {
        io::TemporaryOutput out(target, 0640);
        out.file().write(bytesOf("new bytes"));
        out.file().writeAt(0, bytesOf("NEW"));
        EXPECT_EQ(test::readText(target), "old");
        // Only the named stand-in shows, short and, starting with a dot, sorted first.
        std::vector<std::string> expected{"ziel datei.txt"};
        if (named()) {
            ASSERT_EQ(out.temporaryName().size(), io::TemporaryOutput::kNameLength);
            expected.insert(expected.begin(), out.temporaryName());
        }
        EXPECT_EQ(dir.entries(), expected);
        out.commit();
    }
    EXPECT_EQ(test::readText(target), "NEW bytes");
    EXPECT_EQ(io::permissionBits(target) & ~0022u, 0640u & ~0022u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"ziel datei.txt"});
}

TEST_P(TemporaryOutputTest, RemovesItselfWhenNotCommitted) {
    test::writeText(dir.file("keep"), "old");
    {
        io::TemporaryOutput out(dir.file("keep"), 0644);
        out.file().write(bytesOf("partial"));
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep"});
    for (const auto& [name, code] : {std::pair<std::string, int>{"no/such/folder", ENOENT},
                                     {std::string(256, 'n'), ENAMETOOLONG},
                                     {"keep/x", ENOTDIR}}) {
        try {
            io::TemporaryOutput out(dir.file(name), 0644);
            ADD_FAILURE() << name;
        } catch (const io::FileError& error) {
            EXPECT_EQ(error.code(), code) << name;
        }
    }
}

TEST_P(TemporaryOutputTest, ADirectoryInTheWayFailsTheCommit) {
    ::mkdir(dir.file("taken").c_str(), 0755);
    ::mkdir(dir.file("taken/inner").c_str(), 0755);
    io::TemporaryOutput out(dir.file("taken"), 0644);
    EXPECT_THROW(out.commit(), io::FileError);
    out.discard();
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"taken"});
}

INSTANTIATE_TEST_SUITE_P(Io, TemporaryOutputTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Named" : "Nameless"; });

}  // namespace
}  // namespace marnoq
