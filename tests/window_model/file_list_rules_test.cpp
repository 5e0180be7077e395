#include "window_model/file_list_rules.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace marnoq::window_model {
namespace {

std::vector<std::string> filled(std::initializer_list<const char*> paths) {
    SortedFileList list;
    for (const char* path : paths) {
        list.insert(path);
    }
    return list.entries();
}

TEST(FileListRules, SortsIgnoringCaseKeepsEachPathOnce) {
    struct Case {
        std::initializer_list<const char*> added;
        std::vector<std::string> expected;
    } cases[] = {
        {{"b", "A", "c", "a"}, {"A", "a", "b", "c"}},  // equal but for case: in order of arrival
        {{"/x/b.txt", "/x/B.txt", "/x/b.txt"}, {"/x/b.txt", "/x/B.txt"}},
        {{"Zebra", "öl", "Öl", "apfel", "Ärger"}, {"apfel", "Zebra", "Ärger", "öl", "Öl"}},
        {{"łąka", "Łódź", "Lz", "Ĺb", "ĺa", "Ňb", "ňa"},
         {"Lz", "ĺa", "Ĺb", "Łódź", "łąka", "ňa", "Ňb"}},
        {{"Ābc", "āba"}, {"āba", "Ābc"}},  // the first letter of Latin Extended-A
        {{"ab", "a", "Ab"}, {"a", "ab", "Ab"}},
        {{"\U0001F600", "\u017E"}, {"\u017E", "\U0001F600"}},  // four bytes in UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(filled(c.added), c.expected);
    }
}

TEST(FileListRules, TheCapCountsOnlyPathsNotYetInTheList) {
    SortedFileList list;
    char path[16];
    for (std::size_t i = 0; i < kMaxListEntries; ++i) {
        std::snprintf(path, sizeof path, "/f/%05zu", i);
        ASSERT_EQ(list.insert(path).outcome, SortedFileList::Outcome::Added);
    }
    EXPECT_EQ(list.insert("/f/00007").outcome, SortedFileList::Outcome::Duplicate);
    EXPECT_EQ(list.insert("/f/new").outcome, SortedFileList::Outcome::Full);
    list.removeAt(7);
    const auto again = list.insert("/f/00007");
    EXPECT_EQ(again.outcome, SortedFileList::Outcome::Added);
    EXPECT_EQ(again.index, 7u);
    EXPECT_EQ(countText(list.size()), "Files: 32767");
    list.clear();
    EXPECT_EQ(countText(list.size()), "Files: 0");
    EXPECT_EQ(list.insert("/f/00007").outcome, SortedFileList::Outcome::Added);
}

TEST(FileListRules, DecryptListTakesOnlyAesFiles) {
    const std::pair<const char*, bool> cases[] = {
        {"/d/x.aes", true}, {"/d/X.AES", true},  {"/d/x.Aes", true},   {"/d/x.aes.txt", false},
        {"/d/aes", false},  {"/d.aes/x", false}, {"/d/x.aesx", false},
    };
    for (const auto& [path, accepted] : cases) {
        EXPECT_EQ(decryptListAccepts(path), accepted) << path;
    }
    EXPECT_EQ(wrongExtensionMessage("/home/a/notes.md"),
              "Datei: notes.md\r\nFehler: Für die Entschlüsselung können nur verschlüsselte "
              "Dateien mit der Erweiterung .aes Dateien ausgewählt werden!");
}

}  // namespace
}  // namespace marnoq::window_model
