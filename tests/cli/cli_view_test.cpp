#include "cli/cli_view.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "support/temp_dir.h"

namespace marnoq {
namespace {

// On a terminal the status line counts the bytes of the whole call, from the first file on.
TEST(CliView, TheStatusLineCountsTheWholeCallFromTheFirstFile) {
    test::TempDir dir;
    test::writeBytes(dir.file("a"), std::vector<std::uint8_t>(1 << 20));
    test::writeBytes(dir.file("b"), std::vector<std::uint8_t>(1 << 20));
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> terminal(std::tmpfile(), std::fclose);
    ASSERT_TRUE(terminal);
    {
        cli::CliView view(terminal.get(), true, false, nullptr);
        view.setFiles(jobs::FileList::Encrypt, {dir.file("a"), dir.file("b")});
        view.selectEntry(jobs::FileList::Encrypt, 0);
        view.state().filePercent = 50;
        view.setStatusText("File: 1 von 2");
    }
    std::rewind(terminal.get());
    char line[256] = {};
    const std::string shown(line, std::fread(line, 1, sizeof line, terminal.get()));
    EXPECT_NE(shown.find("File: 1 von 2  |  0,5 von 2,0 MiB"), std::string::npos) << shown;
}

}  // namespace
}  // namespace marnoq
