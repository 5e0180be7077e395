#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli/console.h"
#include "support/cli_fixture.h"
#include "support/process_posix.h"

namespace marnoq {
namespace {

using test::CliTest;
using namespace std::chrono_literals;

constexpr std::uint64_t kHuge = std::uint64_t{4} << 30;  // long enough to interrupt
constexpr std::int64_t kDeep = std::int64_t{8} << 20;    // many batches into the body

// How far the process has read the file: the position of its descriptor, 0 before it opened it.
std::int64_t readPosition(pid_t pid, const std::string& path) {
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd/";
    for (int fd = 3; fd < 64; ++fd) {
        char target[4096] = {};
        if (::readlink((fds + std::to_string(fd)).c_str(), target, sizeof target - 1) > 0 &&
            path == target) {
            const auto info =
                test::readBytes("/proc/" + std::to_string(pid) + "/fdinfo/" + std::to_string(fd));
            return std::atoll(std::string(info.begin(), info.end()).substr(4).c_str());
        }
    }
    return 0;
}

// Whatever ends the program at whatever moment, the folder holds what it held before, and an
// older output keeps its bytes: the new output has no name until it is complete.
TEST_F(CliTest, SignalsAtSeveralPointsLeaveTheFolderAsItWas) {
    test::setLength(dir.file("big"), kHuge);
    test::writeText(dir.file("big.aes"), "older");
    // A huge encrypted file: the header of a real one before a sparse body.
    test::writeText(dir.file("small"), "x");
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "small"}).status, 0);
    ::rename(dir.file("small.aes").c_str(), dir.file("huge.bin.aes").c_str());
    ::unlink(dir.file("small").c_str());
    test::setLength(dir.file("huge.bin.aes"), 31 + kHuge);
    test::writeText(dir.file("huge-dec.bin"), "older");
    const auto before = dir.entries();
    for (const bool first : {true, false}) {
        const char* command = first ? "encrypt" : "decrypt";
        const std::string source = first ? "big" : "huge.bin.aes";
        // Signals that only scripts and limits send: once each, in the body, half of them here.
        const auto rare = first ? std::vector<int>{SIGALRM, SIGUSR2, SIGVTALRM}
                                : std::vector<int>{SIGUSR1, SIGXCPU, SIGPROF};
        for (int sig : {SIGKILL, SIGHUP, SIGQUIT, SIGTERM, SIGINT, rare[0], rare[1], rare[2]}) {
            const bool often = std::find(rare.begin(), rare.end(), sig) == rare.end();
            // As soon as it reads, the output just made, and deep in the body.
            for (std::int64_t at :
                 often ? std::vector<std::int64_t>{1, kDeep} : std::vector<std::int64_t>{kDeep}) {
                SCOPED_TRACE(std::string(command) + " signal " + std::to_string(sig) + " at " +
                             std::to_string(at) + " bytes");
                std::vector<std::string> argv = {MARNOQ_CLI, command, "--password-file",
                                                 "pw",       "-f",    source};
                if (!often) {  // with the named temporary, which only a handler removes
                    argv.insert(argv.begin(), {"env", "MARNOQ_NO_TMPFILE=1"});
                }
                test::Process process(argv, dir.path());
                ASSERT_TRUE(test::waitUntil(
                    [&] { return readPosition(process.id(), dir.file(source)) >= at; }, 20s));
                process.signal(sig);
                const auto result = process.wait();
                EXPECT_EQ(result.status, 128 + sig) << result.err;
                EXPECT_EQ(dir.entries(), before);
                for (const char* older : {"big.aes", "huge-dec.bin"}) {
                    EXPECT_EQ(test::readText(dir.file(older)), "older");
                }
            }
        }
    }
}

// Ctrl-C reaches the whole pipeline: the producer dies first, which looks like the end of
// the data, but the output stays uncommitted. A program that misses the stop is killed later,
// so the pipeline never outlives the test.
TEST_F(CliTest, AStopThatEndsAPipedProducerCommitsNothing) {
    const std::string pipeline =
        "trap : INT TERM; i=0; while :; do echo data; i=$((i+1)); [ $i = 20000 ] && : > reading; "
        "done | timeout --foreground -s KILL 60 \"$0\" encrypt --password-file pw -f -o z.aes -; "
        "echo $? > status";
    for (int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        for (const char* mark : {"status", "reading"}) {
            ::unlink(dir.file(mark).c_str());
        }
        test::writeText(dir.file("z.aes"), "older");
        test::Process group({"setsid", "sh", "-c", pipeline, MARNOQ_CLI}, dir.path());
        // More lines than a pipe holds are out: the program is reading.
        ASSERT_TRUE(
            test::waitUntil([&] { return ::access(dir.file("reading").c_str(), F_OK) == 0; }, 20s));
        ::kill(-group.id(), sig);
        group.wait();
        // The producer never ends by itself: a program that exits with 0 missed the stop.
        EXPECT_EQ(test::readText(dir.file("status")), std::to_string(128 + sig) + "\n");
        EXPECT_TRUE(test::readText(dir.file("z.aes")) == "older")
            << test::readText(dir.file("z.aes")).size();
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"pw", "reading", "status", "z.aes"}));
    }
}

// The same race without timing: a stop signal still waiting for its handler counts as a stop.
TEST(StopRequest, APendingStopSignalCountsBeforeItsHandlerRuns) {
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigset_t before;
    ::pthread_sigmask(SIG_BLOCK, &stop, &before);
    const bool idle = cli::stopRequested(nullptr, true);
    ::raise(SIGTERM);
    const bool pending = cli::stopRequested(nullptr, true);
    int taken = 0;
    ::sigwait(&stop, &taken);
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    EXPECT_FALSE(idle);
    EXPECT_TRUE(pending);
}

// What the program meets on its way in ends the call with a message that says why, and leaves
// nothing behind: a password source without an end, a working folder deleted before it
// starts, and beyond `ulimit -f` a write error that names the file, also from the named
// temporary used without O_TMPFILE.
TEST_F(CliTest, HostileConditionsEndTheCallWithTheirReasonAndLeaveNothing) {
    test::writeText(dir.file("a.txt"), "text");
    test::setLength(dir.file("big"), std::uint64_t{8} << 20);
    const std::string cli = MARNOQ_CLI;
    const std::string tooLong = "ist länger als 1024 Bytes";
    const std::string sizeLimit =
        "ulimit -f 2000; exec env $1 \"$0\" encrypt --password-file pw big";
    const std::string sizeError =
        "Fehler beim Schreiben der Datei:\n" + dir.file("big.aes") +
        "\nDie Datei wird größer, als das Dateisystem oder die für dieses Programm gesetzte "
        "Grenze (ulimit -f) erlaubt.";
    const struct {
        int status;
        std::string reason;
        std::vector<std::string> command;
    } cases[] = {
        {2, tooLong, {"timeout", "1", cli, "encrypt", "--password-file", "/dev/zero", "a.txt"}},
        {2,
         tooLong,
         {"timeout", "1", "sh", "-c",
          "cat /dev/zero | " + cli + " encrypt --password-stdin a.txt"}},
        {2,
         "Der aktuelle Ordner ist nicht mehr zugänglich",
         {"sh", "-c",
          "mkdir weg && cd weg && rmdir ../weg && exec \"$0\" encrypt --password-file \"$1\" a.txt",
          cli, dir.file("pw")}},
        {2,
         "Die Passwortdatei /tmp ist ein Ordner.",
         {cli, "encrypt", "--password-file", "/tmp", "a.txt"}},
        {1, sizeError, {"sh", "-c", sizeLimit, cli, ""}},
        {1, sizeError, {"sh", "-c", sizeLimit, cli, "MARNOQ_NO_TMPFILE=1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command[c.command.size() - 2] + " " + c.command.back());
        const auto result = test::run(c.command, dir.path());
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.txt", "big", "pw"}));
    }
}

// Ctrl-Z gives the echo back until the program continues; a signal at the prompt ends the
// program at once and gives the echo back for good.
TEST_F(CliTest, ASignalAtThePromptEndsAtOnceAndRestoresEcho) {
    test::writeText(dir.file("a.txt"), "text");
    {  // asked twice, then the job runs
        test::TerminalSession session({MARNOQ_CLI, "encrypt", "-o", "t", "a.txt"}, dir.path());
        ASSERT_TRUE(session.waitFor("Passwort: ") && session.type("geheim\n"));
        ASSERT_TRUE(session.waitFor("Wiederholung: ") && session.type("geheim\n"));
        EXPECT_TRUE(session.waitFor("EncryptTime"));
        ASSERT_EQ(::unlink(dir.file("t").c_str()), 0);
    }
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1}) {
        SCOPED_TRACE(sig);
        test::TerminalSession session({MARNOQ_CLI, "encrypt", "a.txt"}, dir.path());
        ASSERT_TRUE(session.waitFor("Passwort: "));
        if (sig == SIGUSR1) {
            ASSERT_TRUE(session.type("\x1a"));  // Ctrl-Z
            EXPECT_TRUE(test::waitUntil([&] { return session.echoOn(); }, 5s));
            session.signal(SIGCONT);
            EXPECT_TRUE(session.waitFor("Passwort: "));
        }
        EXPECT_TRUE(test::waitUntil([&] { return !session.echoOn(); }, 5s));
        EXPECT_EQ(session.end(sig), 128 + sig);
        EXPECT_TRUE(session.echoOn());
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.txt", "pw"}));
}

// No byte of a name or a header field may steer the terminal.
TEST_F(CliTest, HostileNamesAndHeaderFieldsAreShownEscaped) {
    const std::string hostile = "\x1b]0;owned\x07\x1b[2J\n\r\x7f\xc2\x9b\xff\r\nFertig.txt";
    test::writeText(dir.file(hostile), "plain");
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", hostile}).status, 0);
    auto header = test::readBytes(dir.file(hostile + ".aes"));
    const std::string crc = "\x1b[H\r\nOK!";
    std::copy(crc.begin(), crc.end(), header.begin() + 3);
    test::writeBytes(dir.file(hostile + ".aes"), header);
    const std::vector<test::ProcessResult> results = {
        cli({"info", hostile + ".aes"}),
        cli({"verify", "--password-file", "pw", hostile + ".aes"}),
        cli({"encrypt", "--password-file", "pw", hostile + "missing"}),
        cli({"decrypt", "--password-file", "pw", hostile}),
        cli({"encrypt", "--password-file", "pw", "--" + hostile}),
    };
    for (const auto& result : results) {
        for (const std::string& text : {result.out, result.err}) {
            for (std::size_t i = 0; i < text.size(); ++i) {
                const auto byte = static_cast<unsigned char>(text[i]);
                EXPECT_TRUE((byte >= 0x20 && byte != 0x7f) || byte == '\n') << i << ": " << text;
                EXPECT_FALSE(byte == 0xc2 && i + 1 < text.size() &&
                             static_cast<unsigned char>(text[i + 1]) < 0xa0)
                    << text;
            }
            for (const char* forged : {"\nFertig", "\nOK!"}) {
                EXPECT_EQ(text.find(forged), std::string::npos) << text;
            }
        }
    }
    EXPECT_PRED2(test::contains, results[0].out,
                 "\\x1b]0;owned\\x07\\x1b[2J\\n\\r\\x7f\\xc2\\x9b\\xff\\r\\nFertig.txt");
}

// A report that does not reach its reader whole is no success: a full disk fails the call, a
// reader that went away ends it as SIGPIPE would, and both say why.
TEST_F(CliTest, ReportsThatCannotBeWrittenWholeFailTheCall) {
    test::writeText(dir.file("a.txt"), "text");
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "a.txt"}).status, 0);
    const std::vector<std::string> commands[] = {
        {"info", "a.txt.aes"},
        {"encrypt", "--json", "--password-file", "pw", "-o", "b.aes", "a.txt"},
        {"--help"},
    };
    for (const auto& command : commands) {
        auto argv = command;
        argv.insert(argv.begin(), MARNOQ_CLI);
        SCOPED_TRACE(command.front() + " " + command[1 % command.size()]);
        const int full = ::open("/dev/full", O_WRONLY);
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ::close(ends[0]);  // nobody will read
        const std::pair<int, std::pair<int, const char*>> sinks[] = {
            {full, {1, "Auf dem Datenträger ist kein Platz mehr frei."}},
            {ends[1], {141, "Der Empfänger der Daten hat die Verbindung geschlossen."}},
        };
        for (const auto& [sink, expected] : sinks) {
            const auto result = test::Process(argv, dir.path(), "", sink).wait();
            EXPECT_EQ(result.status, expected.first);
            EXPECT_PRED2(test::contains, result.err,
                         "Standardausgabe geschrieben werden: " + std::string(expected.second));
            ::close(sink);
        }
    }
}

// The report waits in a full pipe while stop signals arrive: each interrupts the waiting
// write, and still every record reaches the reader whole.
TEST_F(CliTest, StopSignalsWhileTheReportWaitsForItsReaderCutNoRecord) {
    ::mkdir(dir.file("many").c_str(), 0755);
    constexpr int kFiles = 60;  // records far beyond the smallest pipe
    for (int i = 0; i < kFiles; ++i) {
        test::writeText(dir.file("many/f" + std::to_string(i)), "x");
    }
    // A reader that comes back at once gets every record whole; one that never comes back
    // does not keep the program from ending by the stop.
    for (const bool readerReturns : {true, false}) {
        SCOPED_TRACE(readerReturns ? "reader returns" : "reader gone");
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        const int capacity = ::fcntl(ends[0], F_SETPIPE_SZ, 4096);
        ASSERT_GT(capacity, 0);
        test::Process program(
            {MARNOQ_CLI, "encrypt", "--json", "-r", "-f", "--password-file", "pw", "many"},
            dir.path(), "", ends[1]);
        ::close(ends[1]);
        int waiting = 0;
        ASSERT_TRUE(test::waitUntil(
            [&] { return ::ioctl(ends[0], FIONREAD, &waiting) == 0 && waiting == capacity; }, 30s))
            << "the report never filled the pipe";
        for (int sig : {SIGINT, SIGUSR1, SIGTERM}) {
            program.signal(sig);
            std::this_thread::sleep_for(20ms);
        }
        test::ProcessResult result;
        if (!readerReturns) {
            result = program.wait();
            EXPECT_EQ(result.status, 128 + SIGTERM);
            EXPECT_NE(result.err.find("nahm den Bericht nicht mehr an"), std::string::npos);
        }
        std::string report;
        while (test::readSome(ends[0], report)) {
        }
        ::close(ends[0]);
        std::istringstream lines(report);
        int records = 0;
        for (std::string line; std::getline(lines, line) && lines.good(); ++records) {
            EXPECT_EQ(nlohmann::json::parse(line)["outcome"], "done") << line;
        }
        if (readerReturns) {
            result = program.wait();
            EXPECT_EQ(result.status, 0) << "all files were done before the signals";
            EXPECT_EQ(records, kFiles) << result.err;
        }
    }
}

// A process limit that refuses most threads leaves fewer workers, not an abort. The limit
// counts every process of the user: only nobody, started by root, has few enough.
TEST_F(CliTest, ThreadsTheSystemRefusesLeaveFewerWorkers) {
    const auto command = unprivileged({"bash", "-c",
                                       "ulimit -u 3; exec \"$0\" encrypt -j 64 --password-file pw "
                                       "f0 f1 f2 f3 f4 f5 f6 f7",
                                       MARNOQ_CLI});
    if (::geteuid() != 0 || !command) {
        GTEST_SKIP() << "needs root and setpriv to run under a process limit of its own";
    }
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(dir.file("pw").c_str(), 0644);
    const std::string files[] = {"f0", "f1", "f2", "f3", "f4", "f5", "f6", "f7"};
    for (const auto& file : files) {
        test::setLength(dir.file(file), std::uint64_t{3} << 20);  // several batches to write
    }
    const auto result = test::run(*command, dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("von 8 Threads zugelassen"), std::string::npos) << result.err;
    for (const auto& file : files) {
        EXPECT_EQ(::access(dir.file(file + ".aes").c_str(), F_OK), 0) << file;
    }
}

}  // namespace
}  // namespace marnoq
