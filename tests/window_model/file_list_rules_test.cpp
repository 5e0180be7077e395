#include "window_model/file_list_rules.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "window_model/message_text.h"

namespace marnoq::window_model {
namespace {

using Paths = std::vector<std::string>;

TEST(FileListRules, SortsIgnoringCaseKeepsEachPathOnce) {
    const std::pair<Paths, Paths> cases[] = {
        {{"b", "A", "c", "a"}, {"A", "a", "b", "c"}},  // equal but for case: in order of arrival
        {{"/x/b.txt", "/x/B.txt", "/x/b.txt"}, {"/x/b.txt", "/x/B.txt"}},
        {{"Zebra", "öl", "Öl", "apfel", "Ärger"}, {"apfel", "Zebra", "Ärger", "öl", "Öl"}},
        {{"łąka", "Łódź", "Lz", "Ĺb", "ĺa", "Ňb", "ňa"},
         {"Lz", "ĺa", "Ĺb", "Łódź", "łąka", "ňa", "Ňb"}},
        {{"Ābc", "āba"}, {"āba", "Ābc"}},  // the first letter of Latin Extended-A
        {{"ab", "a", "Ab"}, {"a", "ab", "Ab"}},
        {{"\U0001F600", "\u017E"}, {"\u017E", "\U0001F600"}},  // four bytes in UTF-8
    };
    for (const auto& [added, expected] : cases) {
        SortedFileList list;
        for (const std::string& path : added) {
            list.insert(path);
        }
        EXPECT_EQ(list.entries(), expected);
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
    const std::string reason =
        "\r\nFehler: Für die Entschlüsselung können nur verschlüsselte Dateien mit der "
        "Erweiterung .aes Dateien ausgewählt werden!";
    EXPECT_EQ(wrongExtensionMessage({"/home/a/notes.md"}), "Datei: notes.md" + reason);
    // The refused files of one drop share one message; a long drop is named in part.
    std::vector<std::string> thirteen;
    std::string listed = "Dateien:";
    for (int i = 1; i <= 13; ++i) {
        thirteen.push_back("C:\\Daten\\Brief " + std::to_string(i) + ".pdf");
        listed += i <= 10 ? "\r\nBrief " + std::to_string(i) + ".pdf" : "";
    }
    EXPECT_EQ(wrongExtensionMessage(thirteen), listed + "\r\n… und 3 weitere." + reason);
    thirteen.resize(10);  // as many as are named: no "… und 0 weitere"
    EXPECT_EQ(wrongExtensionMessage(thirteen), listed + reason);
}

TEST(FileListRules, ADropOffersItsFilesUntilAMissingItemOrAFullListEndsIt) {
    using enum jobs::FileList;
    // List, dropped ("x/" is a folder, "-x" does not exist), the room the list still has;
    // offered, refused, refresh.
    const std::tuple<jobs::FileList, Paths, std::size_t, Paths, Paths, bool> cases[] = {
        {Encrypt, {"b.md", "d/", "a.aes", "b.md"}, 9, {"b.md", "a.aes", "b.md"}, {}, true},
        {Decrypt, {"n.md", "c.aes", "d/", "z"}, 9, {"c.aes"}, {"n.md", "z"}, true},
        {Decrypt, {"n.md", "c.aes", "-w.aes", "d.aes"}, 9, {"c.aes"}, {"n.md"}, false},
        {Decrypt, {"c.aes", "d.aes", "n.md", "-w.aes"}, 1, {"c.aes", "d.aes"}, {}, true},
    };
    for (const auto& [list, dropped, room, offered, refused, refresh] : cases) {
        std::vector<DroppedItem> items;
        for (const std::string& item : dropped) {
            items.push_back({item, item[0] != '-', item.back() == '/'});
        }
        Paths added;
        const auto outcome = dropFiles(items, list, [&](const std::string& path) {
            added.push_back(path);
            return added.size() <= room;
        });
        EXPECT_EQ(std::tie(added, outcome.refused, outcome.refresh),
                  std::tie(offered, refused, refresh));
    }
}

TEST(MessageText, LongNamesAreShortenedInTheMiddleSoNoBoxCutsTheMessage) {
    const std::string longName = std::string(200, 'a') + "-Ende.aes";
    const std::pair<std::string, std::string> cases[] = {
        {"Die Datei: \r\n" + longName + "\r\nwurde nicht verschlüsselt!",
         "Die Datei: \r\n" + std::string(22, 'a') + "…" + std::string(24, 'a') + "-Ende.aes" +
             "\r\nwurde nicht verschlüsselt!"},
        {"kurz bleibt kurz", "kurz bleibt kurz"},
        {std::string(56, 'x'), std::string(56, 'x')},  // exactly the limit stays
        {std::string(40, 'x') + "ääääääääääääääääääää",
         std::string(22, 'x') + "…" + std::string(13, 'x') + "ääääääääääääääääääää"},
    };
    for (const auto& [text, fitted] : cases) {
        EXPECT_EQ(fittedMessage(text), fitted);
    }
    // A name with blanks, known as the file of the message or standing as a full path on its
    // own line, is shortened as a whole.
    const std::string spaced = "Steuer " + std::string(60, 'b') + " Ende.pdf.aes";
    const std::string shortened =
        "Steuer " + std::string(15, 'b') + "…" + std::string(20, 'b') + " Ende.pdf.aes";
    EXPECT_EQ(fittedMessage("Die Datei: \r\n" + spaced + "\r\nwurde", namesOf("/d/" + spaced)),
              "Die Datei: \r\n" + shortened + "\r\nwurde");
    EXPECT_EQ(fittedMessage("Fehler:\r\n/home/a b/" + spaced + "\r\nGrund."),
              "Fehler:\r\n/home/a b/Steuer " + std::string(5, 'b') + "…" + std::string(20, 'b') +
                  " Ende.pdf.aes\r\nGrund.");
    EXPECT_EQ(displayName("Müller.txt"), "Müller.txt");
}

TEST(MessageText, SkippedEntriesAreNamedAndTheStatusSaysHowManyWereDone) {
    using jobs::FileOutcome;
    jobs::JobReport report;
    report.started = true;
    report.files = {{"/a/eins", FileOutcome::Done},
                    {"/a/M\xFCller\x80\xE0\xA4\x85", FileOutcome::Skipped}};
    EXPECT_EQ(
        skippedMessage(report),
        "Ein Eintrag der Liste wurde übersprungen, weil es die Datei nicht gibt:\r\n/a/Müller€अ");
    EXPECT_EQ(
        statusAfterJob(report, "File: 1 von 2,  File bearbeitet: 100 % , EncryptTime: 3 ms", 2),
        "1 von 2 Dateien bearbeitet, 1 übersprungen , EncryptTime: 3 ms");
    // A cancel at the question for the first file leaves the rest of the list unstarted.
    const jobs::JobReport cancelled{true, false, false, {{"/a/x", FileOutcome::NotReplaced}}};
    EXPECT_EQ(statusAfterJob(cancelled, "0 % , EncryptTime: 1 ms", 200),
              "0 von 200 Dateien bearbeitet, 1 übersprungen , EncryptTime: 1 ms");
    for (int i = 0; i < 11; ++i) {
        report.files.push_back({"/b/" + std::to_string(i), FileOutcome::Skipped});
    }
    const std::string many = skippedMessage(report).value();
    EXPECT_TRUE(many.starts_with("12 Einträge der Liste wurden übersprungen")) << many;
    EXPECT_TRUE(many.ends_with("\r\n/b/8\r\n… und 2 weitere.")) << many;
    report.aborted = true;
    EXPECT_EQ(skippedMessage(report), std::nullopt);
    report.aborted = false;
    report.files.resize(1);
    EXPECT_EQ(skippedMessage(report), std::nullopt);
    EXPECT_EQ(statusAfterJob(report, "FileDecrypt bearbeitet: 100 %", 1),
              "FileDecrypt bearbeitet: 100 %");
}

TEST(MessageText, TheStatusLineIsAnnouncedTwiceASecondAtMostButAlwaysAtTheEnd) {
    using std::chrono::milliseconds;
    const std::tuple<int, const char*, bool, bool> steps[] = {
        {0, "File: 1 von 2,  File bearbeitet: 1 %", false, true},
        {20, "File: 1 von 2,  File bearbeitet: 2 %", false, false},  // too soon
        {520, "File: 1 von 2,  File bearbeitet: 30 %", false, true},
        {540, "File: 1 von 2,  File bearbeitet: 30 %", true, false},  // said already
        {560, "Fertig", true, true},                                  // the end, at once
    };
    AnnouncementPace pace;
    const auto start = std::chrono::steady_clock::time_point{};
    for (const auto& [at, text, final, due] : steps) {
        EXPECT_EQ(pace.due(text, start + milliseconds(at), final), due) << at;
    }
}

}  // namespace
}  // namespace marnoq::window_model
