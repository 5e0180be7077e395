#include "window_model/dialog_selection.h"

#include <gtest/gtest.h>

namespace marnoq::window_model {
namespace {

using namespace std::string_literals;

TEST(DialogSelection, TurnsTheDialogAnswerIntoListEntries) {
    using enum ShortcutRule;
    const std::tuple<std::string, ShortcutRule, std::vector<std::string>> cases[] = {
        {"C:\\Daten\\a b.txt", Apply, {"C:\\Daten\\a b.txt"}},  // one file: its path as given
        {"C:\\Daten\0a.txt\0b.txt"s, Apply, {"C:\\Daten\\a.txt", "C:\\Daten\\b.txt"}},
        {"C:\\\0a.txt\0b.txt"s, Apply, {"C:\\a.txt", "C:\\b.txt"}},  // a root keeps its separator
        {"C:\\D\0a\0\0b"s, Ignore, {"C:\\D\\a", "C:\\D\\b"}},        // empty names are skipped
        // A resolved shortcut becomes its own name; the decrypt side takes names untouched.
        {"C:\\D\0 x.txt \0E:\\Ziel\\brief.doc"s, Apply, {"C:\\D\\x.txt", "C:\\D\\brief.doc.lnk"}},
        {"C:\\D\0 x.aes \0E:\\y.aes"s, Ignore, {"C:\\D\\ x.aes ", "C:\\D\\E:\\y.aes"}},
    };
    for (const auto& [selection, shortcuts, expected] : cases) {
        EXPECT_EQ(dialogSelectionPaths(selection, '\\', shortcuts), expected) << selection;
    }
}

}  // namespace
}  // namespace marnoq::window_model
