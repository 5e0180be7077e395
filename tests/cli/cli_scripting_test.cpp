#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <nlohmann/json.hpp>

#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using test::CliTest;

std::vector<nlohmann::json> jsonLines(const std::string& out) {
    std::vector<nlohmann::json> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(nlohmann::json::parse(out.substr(start, end - start)));
    }
    return lines;
}

// Overwrites the checksum text in the header of an encrypted file.
void forgeCrc(const std::string& path) {
    auto bytes = test::readBytes(path);
    std::copy_n("0BADC0DE", 8, bytes.begin() + 3);
    test::writeBytes(path, bytes);
}

TEST_F(CliTest, PipesBothWaysMatchTheNamedFiles) {
    // Empty, one short block, two whole read batches (the end comes only with the next read).
    for (std::size_t size : {0u, 15u, 400000u, 300001u}) {
        const auto bytes = test::randomBytes(size, static_cast<std::uint32_t>(size));
        const std::string plain(bytes.begin(), bytes.end());
        test::writeText(dir.file("p"), plain);
        ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "-f", "p"}).status, 0);
        auto piped = cli({"encrypt", "--password-file", "pw", "-f", "-o", "piped.aes", "-"}, plain);
        ASSERT_EQ(piped.status, 0) << piped.err;
        EXPECT_EQ(test::readBytes(dir.file("piped.aes")), test::readBytes(dir.file("p.aes")))
            << size;
        auto out = cli({"decrypt", "--password-file", "pw", "-o", "-", "piped.aes"});
        EXPECT_EQ(out.status, 0) << out.err;
        EXPECT_EQ(out.out, plain) << size;
    }
    // A reader that stops early ends the program as SIGPIPE would: quietly, with 141.
    const auto closed =
        test::run({"sh", "-c",
                   "{ \"$0\" decrypt --password-file pw -o - p.aes; echo $? > st; } "
                   "| head -c 100 > /dev/null",
                   MARNOQ_CLI},
                  dir.path());
    EXPECT_EQ(test::readText(dir.file("st")), "141\n");
    EXPECT_EQ(closed.err.find("Fehler"), std::string::npos) << closed.err;
    // A full standard output fails the call, also when the data fits the last buffer.
    test::writeText(dir.file("s"), "short");
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "s"}).status, 0);
    const auto full = test::run(
        {"sh", "-c", "exec \"$0\" decrypt --password-file pw -o - s.aes > /dev/full", MARNOQ_CLI},
        dir.path());
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("Standardausgabe"), std::string::npos) << full.err;
    // The data has gone out before the checksum can be compared: the status tells.
    forgeCrc(dir.file("p.aes"));
    auto mismatch = cli({"decrypt", "--password-file", "pw", "-o", "-", "p.aes"});
    EXPECT_EQ(mismatch.status, 1);
    EXPECT_EQ(mismatch.out.size(), 300001u);
    EXPECT_NE(mismatch.err.find("-> checksum error!"), std::string::npos) << mismatch.err;
    ::mkfifo(dir.file("fifo").c_str(), 0600);
    EXPECT_EQ(cli({"encrypt", "--password-file", "pw", "-o", "fifo", "-"}, "x").status, 1);
}

TEST_F(CliTest, RecursiveWalkIsSortedSkipsLinksAndPipesAndReportsUnreadableFolders) {
    for (const char* folder : {"top", "top/sub", "top/sub/deeper", "top/locked"}) {
        ::mkdir(dir.file(folder).c_str(), 0777);
        ::chmod(dir.file(folder).c_str(), 0777);
    }
    for (const char* file : {"top/a.txt", "top/sub/deeper/c.bin", "top/B.AES", "top/sub/x.aes"}) {
        test::writeText(dir.file(file), file);
        ::chmod(dir.file(file).c_str(), 0666);
    }
    ASSERT_EQ(::symlink("..", dir.file("top/sub/loop").c_str()), 0);
    ASSERT_EQ(::symlink("../a.txt", dir.file("top/sub/link.txt").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.file("top/sub/pipe").c_str(), 0666), 0);
    ::chmod(dir.file("top/locked").c_str(), 0);
    test::writeText(dir.file("top/sub/zz"), "unreadable: an error, not a file to skip");
    ::chmod(dir.file("top/sub/zz").c_str(), 0);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(dir.file("pw").c_str(), 0644);
    const auto walk =
        unprivileged({MARNOQ_CLI, "encrypt", "-r", "--json", "--password-file", "pw", "top"});
    if (!walk) {
        GTEST_SKIP() << "needs setpriv to run as an unprivileged user";
    }
    auto paths = [&](const test::ProcessResult& result) {
        std::vector<std::string> found;
        for (const auto& line : jsonLines(result.out)) {
            found.push_back(line["path"].get<std::string>().substr(dir.path().size() + 1));
        }
        return found;
    };
    auto enc = test::run(*walk, dir.path());
    EXPECT_EQ(enc.status, 1);
    EXPECT_EQ(paths(enc),
              (std::vector<std::string>{"top/a.txt", "top/sub/deeper/c.bin", "top/sub/zz"}));
    EXPECT_PRED2(test::contains, enc.err, "2 Dateien mit der Erweiterung .aes wurden ausgelassen");
    EXPECT_NE(enc.err.find("top/locked kann nicht gelesen werden"), std::string::npos) << enc.err;
    EXPECT_NE(enc.err.find("top/sub/zz\nZugriff verweigert."), std::string::npos) << enc.err;
    for (const char* left : {"top/sub/link.txt ist ein symbolischer Link", "top/sub/loop ist ein",
                             "top/sub/pipe ist keine reguläre Datei"}) {
        EXPECT_NE(enc.err.find(left), std::string::npos) << left << ": " << enc.err;
    }
    auto info = test::run(*unprivileged({MARNOQ_CLI, "info", "-r", "--json", "top"}), dir.path());
    EXPECT_EQ(paths(info), (std::vector<std::string>{"top/B.AES", "top/a.txt.aes",
                                                     "top/sub/deeper/c.bin.aes", "top/sub/x.aes"}));
    auto plain = cli({"verify", "--password-file", "pw", "top"});
    EXPECT_NE(plain.err.find("mit -r werden Ordner durchlaufen"), std::string::npos) << plain.err;
    EXPECT_EQ(plain.status, 1);
    auto one = cli({"encrypt", "-r", "--password-file", "pw", "top/sub/deeper"});
    EXPECT_PRED2(test::contains, one.err,
                 "Hinweis: 1 Datei mit der Erweiterung .aes wurde ausgelassen.");
}

// A password file others may read is only warned about: the job goes on, here into a folder
// the user may not write to.
TEST_F(CliTest, FolderWithoutWritePermissionAndAPasswordFileOthersMayRead) {
    const auto command = unprivileged({MARNOQ_CLI, "encrypt", "--password-file", "pw", "a.txt"});
    if (!command) {
        GTEST_SKIP() << "needs setpriv to run as an unprivileged user";
    }
    test::writeText(dir.file("a.txt"), "plain");
    ::chmod(dir.file("a.txt").c_str(), 0644);
    ::chmod(dir.file("pw").c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);  // to enter and read, not to write
    auto result = test::run(*command, dir.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_PRED2(test::contains, result.err,
                 "Warnung: Die Passwortdatei pw ist für andere Benutzer lesbar");
    // The whole text is the fault matrix's; here the real refusal, in lines of the terminal.
    EXPECT_NE(result.err.find("Fehler beim Schreiben! Mögliche Ursachen:\n1. "), std::string::npos);
    EXPECT_PRED2(test::contains, result.err, "zu schreiben.\n" + dir.file("a.txt.aes"));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.txt", "pw"}));
}

TEST_F(CliTest, ParallelFilesReportLikeOneAtATimeAndStartNothingAfterAStop) {
    ::mkdir(dir.file("many").c_str(), 0755);
    for (int i = 0; i < 200; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "many/f%03d", i);
        test::writeBytes(dir.file(name), test::randomBytes(1000 + i, i));
    }
    ASSERT_EQ(cli({"encrypt", "-r", "--password-file", "pw", "many"}).status, 0);
    // Removes the outputs and counts them: all, and those of files after the foreign one.
    auto decrypted = [&] {
        std::pair<int, int> count;
        for (int i = 0; i < 200; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "many/f%03d-dec", i);
            const bool removed = ::unlink(dir.file(name).c_str()) == 0;
            count.first += removed;
            count.second += removed && i > 100;
        }
        return count;
    };
    const auto clean = cli({"decrypt", "-j", "4", "-r", "--password-file", "pw", "many"});
    EXPECT_NE(clean.err.find("\nFileDecrypt bearbeitet: 100 % , DecryptTime: "), std::string::npos);
    EXPECT_EQ(decrypted(), std::make_pair(200, 99));
    test::writeText(dir.file("many/f100.aes"), "not one of ours, but long enough for a header");
    auto one = cli({"decrypt", "-j", "1", "-r", "--password-file", "pw", "many"});
    EXPECT_EQ(decrypted(), std::make_pair(100, 0));
    auto four = cli({"decrypt", "--json", "-j", "4", "-r", "--password-file", "pw", "many"});
    const auto [written, after] = decrypted();
    EXPECT_LE(after, 3);  // at most the files already running with the stopping one
    EXPECT_EQ(jsonLines(four.out).size(), written + 1u) << "every file written has its record";
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(four.status, one.status);
    // The same messages, but for how many files the stop left: the files running beside it
    // finished.
    const std::string left = "Hinweis: Danach wurden ";
    EXPECT_EQ(four.err.substr(0, four.err.find(left)), one.err.substr(0, one.err.find(left)));
    EXPECT_PRED2(test::contains, one.err, left + "99 weitere Dateien nicht bearbeitet.");
    EXPECT_PRED2(test::contains, four.err, left + std::to_string(99 - after) + " weitere");
    EXPECT_NE(one.err.find("f100.aes\nwurde nicht mit diesem Programm"), std::string::npos);
    // A first file that ends the job slowly (at the file size limit) holds back later starts.
    test::setLength(dir.file("many/f000"), 64 << 20);
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "-f", "many/f000"}).status, 0);
    const auto limited = test::run({"sh", "-c",
                                    "trap '' XFSZ; ulimit -f 20000; exec \"$0\" decrypt -j 4 -r "
                                    "--password-file pw many",
                                    MARNOQ_CLI},
                                   dir.path());
    EXPECT_EQ(limited.status, 1) << limited.err;
    EXPECT_LE(decrypted().first, 3);
}

TEST_F(CliTest, JsonRecordsParseBackWithEveryOutcome) {
    for (const char* name : {"good", "crc", "short"}) {
        test::writeText(dir.file(name), name);
    }
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "good", "crc", "short"}).status, 0);
    forgeCrc(dir.file("crc.aes"));
    auto bytes = test::readBytes(dir.file("short.aes"));
    bytes.resize(31 + 7);
    test::writeBytes(dir.file("short.aes"), bytes);
    test::writeText(dir.file("foreign.aes"), "this file was written by something else entirely");
    ASSERT_EQ(cli({"encrypt", "--password-stdin", "-o", "other.aes", "good"}, "anders\n").status,
              0);
    ::mkdir(dir.file("folder").c_str(), 0755);
    std::string out;
    out += cli({"verify", "--json", "--password-file", "pw", "good.aes", "gone.aes", "short.aes",
                "crc.aes", "foreign.aes"})
               .out;
    out += cli({"decrypt", "--json", "--password-file", "pw", "other.aes"}).out;
    out += cli({"decrypt", "--json", "--password-file", "pw", "-o", "folder", "good.aes"}).out;
    std::map<std::string, nlohmann::json> byOutcome;
    for (const auto& line : jsonLines(out)) {
        EXPECT_TRUE(byOutcome.emplace(line["outcome"], line).second) << line;
    }
    EXPECT_EQ(byOutcome.size(), 7u) << out;
    const auto& crc = byOutcome["checksum_mismatch"];
    EXPECT_EQ(crc["stored_crc"], "0BADC0DE");
    EXPECT_EQ(crc["computed_crc"].get<std::string>().size(), 8u);
    EXPECT_EQ(crc["body_length"], 16);
    EXPECT_NE(crc["error"].get<std::string>().find("checksum error"), std::string::npos);
    EXPECT_EQ(byOutcome["done"]["stored_crc"], byOutcome["done"]["computed_crc"]);
    EXPECT_NE(byOutcome["failed"]["error"].get<std::string>().find("folder"), std::string::npos);
    EXPECT_TRUE(byOutcome.contains("wrong_password") && byOutcome.contains("foreign") &&
                byOutcome.contains("skipped") && byOutcome.contains("size_error"));
    const auto info = jsonLines(cli({"info", "--json", "good.aes"}).out);
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0]["body_length"], 16);
    EXPECT_EQ(info[0]["stored_crc"], byOutcome["done"]["stored_crc"]);
    const auto plain =
        jsonLines(cli({"decrypt", "--json", "--password-file", "pw", "good.aes"}).out);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0]["output"], dir.file("good-dec"));
}

}  // namespace
}  // namespace marnoq
