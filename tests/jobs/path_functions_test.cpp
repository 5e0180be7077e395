#include "jobs/path_functions.h"

#include <gtest/gtest.h>

#include "jobs/number_text.h"

namespace marnoq::jobs {
namespace {

TEST(PathFunctions, PiecesOfSlashPaths) {
    struct Row {
        const char *path, *datei, *name, *pfad, *ext;
    };
    const Row rows[] = {
        {"/daten/brief.txt", "brief.txt", "brief", "/daten/", ".txt"},
        {"/daten/archiv.tar.aes", "archiv.tar.aes", "archiv.tar", "/daten/", ".aes"},
        {"/daten/liesmich", "liesmich", "/daten/liesmich", "/daten/", "./daten/liesmich"},
        {"/daten.alt/liesmich", "liesmich", "/daten.alt/liesmich", "/daten.alt/", ".alt/liesmich"},
        {"brief.txt", "brief.txt", "brief", "", ".txt"},
        {"liesmich", "liesmich", "liesmich", "", ".liesmich"},
        {"/daten/", "", "/daten/", "/daten/", "./daten/"},
        {"/daten/.profil", ".profil", "", "/daten/", ".profil"},
        {"", "", "", "", "."},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Nurdatei(r.path), r.datei) << r.path;
        EXPECT_EQ(NurName(r.path), r.name) << r.path;
        EXPECT_EQ(nur_Pfad(r.path), r.pfad) << r.path;
        EXPECT_EQ(NurExt(r.path), r.ext) << r.path;
    }
}

TEST(PathFunctions, DecryptedNames) {
    EXPECT_EQ(decryptedName("/d/sample.txt.aes", true, "-dec"), "/d/sample-dec.txt");
    EXPECT_EQ(decryptedName("/d/archiv.tar.gz.aes", true, "-dec"), "/d/archiv.tar-dec.gz");
    EXPECT_EQ(decryptedName("/d/sample.txt.aes", false, "-dec"), "/d/sample.txt");
    EXPECT_EQ(decryptedName("/d/sample.txt.AES", true, ""), "/d/sample.txt");
    EXPECT_EQ(decryptedName("/d/sample.txt.aes", true, "  -x  "), "/d/sample-x.txt");
    EXPECT_EQ(decryptedName("/d/notes.aes", true, "-dec"), "/d/notes-dec");
    EXPECT_EQ(decryptedName("/my.folder/notes.aes", true, "-dec"), "/my.folder/notes-dec");
    EXPECT_EQ(decryptedName("/d/.profil.aes", true, "-dec"), "/d/.profil-dec");
    EXPECT_EQ(decryptedName("/Mein Ordner/Größe v1.2.übersicht.aes", true, "-dec"),
              "/Mein Ordner/Größe v1.2-dec.übersicht");
    EXPECT_TRUE(hasAesExtension("/x/Y.AES"));
    EXPECT_FALSE(hasAesExtension("/x/y.aes.txt"));
}

TEST(NumberText, TimesAndPercentages) {
    const std::string label = " , EncryptTime: ";
    EXPECT_EQ(jobTimeText(label, 1000.0), label + "1000 ms");
    EXPECT_EQ(jobTimeText(label, 999.996), label + "1000 ms");
    EXPECT_EQ(jobTimeText(label, 1000.4), label + "1 s");
    EXPECT_EQ(jobTimeText(label, 0.005), label + "0 ms");  // a tie rounds to even
    EXPECT_EQ(jobTimeText(label, 0.015), label + "0,02 ms");
    EXPECT_EQ(jobTimeText(label, 0.0051), label + "0,01 ms");  // a digit past the five: no tie
    EXPECT_EQ(jobTimeText(label, 61234.5), label + "61,234 s");
    EXPECT_EQ(jobTimeText(label, 12.5), label + "12,5 ms");
    EXPECT_EQ(jobTimeText(label, 1234567.0), label + "1234,567 s");
    EXPECT_EQ(germanDecimal(9.9999, 3), "10");
    EXPECT_EQ(percentDigits(0.4f), "");
    EXPECT_EQ(percentDigits(12.5f), "13");
    EXPECT_EQ(percentDigits(99.5f), "100");
    EXPECT_EQ(percentDigits(33.3f), "33");
    EXPECT_EQ(percentDigits(100.0f), "100");
}

}  // namespace
}  // namespace marnoq::jobs
