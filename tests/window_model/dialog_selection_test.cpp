#include "window_model/dialog_selection.h"

#include <gtest/gtest.h>

namespace marnoq::window_model {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::string>;

struct SelectionCase {
    const char* what;
    std::string selection;
    ShortcutRule shortcuts;
    Paths expected;
};

TEST(DialogSelection, TurnsTheDialogAnswerIntoListEntries) {
    const SelectionCase cases[] = {
        {"one file is its path as given",
         "C:\\Daten\\a b.txt",
         ShortcutRule::Apply,
         {"C:\\Daten\\a b.txt"}},
        {"folder and names",
         "C:\\Daten\0a.txt\0b.txt"s,
         ShortcutRule::Apply,
         {"C:\\Daten\\a.txt", "C:\\Daten\\b.txt"}},
        {"a root keeps its one separator",
         "C:\\\0a.txt\0b.txt"s,
         ShortcutRule::Apply,
         {"C:\\a.txt", "C:\\b.txt"}},
        {"empty names are skipped",
         "C:\\D\0a\0\0b"s,
         ShortcutRule::Ignore,
         {"C:\\D\\a", "C:\\D\\b"}},
        {"a resolved shortcut becomes its own name",
         "C:\\D\0 x.txt \0E:\\Ziel\\brief.doc"s,
         ShortcutRule::Apply,
         {"C:\\D\\x.txt", "C:\\D\\brief.doc.lnk"}},
        {"the decrypt side takes names untouched",
         "C:\\D\0 x.aes \0E:\\y.aes"s,
         ShortcutRule::Ignore,
         {"C:\\D\\ x.aes ", "C:\\D\\E:\\y.aes"}},
    };
    for (const SelectionCase& c : cases) {
        EXPECT_EQ(dialogSelectionPaths(c.selection, '\\', c.shortcuts), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace marnoq::window_model
