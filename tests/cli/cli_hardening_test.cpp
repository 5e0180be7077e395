#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli/console.h"
#include "support/cli_fixture.h"

namespace marnoq {
namespace {

using test::CliTest;

void makeSparse(const std::string& path, std::int64_t length) {
    test::writeText(path, "");
    ASSERT_EQ(::truncate(path.c_str(), length), 0);
}

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

constexpr std::int64_t kHuge = std::int64_t{4} << 30;  // long enough to interrupt

// Exit status, or 128 + the number of the signal that ended the process.
int statusOf(pid_t pid) {
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

// Starts the program with `out` as its standard output and `err` as the file for its messages.
pid_t startWithOutput(const std::vector<std::string>& argv, const std::string& workdir, int out,
                      const std::string& err) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out, 1);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        test::execIn(argv, workdir);
    }
    return pid;
}

// Whatever ends the program at whatever moment, the folder holds what it held before, and an
// older output keeps its bytes: the new output has no name until it is complete.
TEST_F(CliTest, SignalsAtSeveralPointsLeaveTheFolderAsItWas) {
    makeSparse(dir.file("big"), kHuge);
    test::writeText(dir.file("big.aes"), "older");
    // A huge encrypted file: the header of a real one before a sparse body.
    test::writeText(dir.file("small"), "x");
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "small"}).status, 0);
    ::rename(dir.file("small.aes").c_str(), dir.file("huge.bin.aes").c_str());
    ::unlink(dir.file("small").c_str());
    ASSERT_EQ(::truncate(dir.file("huge.bin.aes").c_str(), 31 + kHuge), 0);
    test::writeText(dir.file("huge-dec.bin"), "older");
    const auto before = dir.entries();
    for (const char* command : {"encrypt", "decrypt"}) {
        const std::string source = command == std::string("encrypt") ? "big" : "huge.bin.aes";
        // Signals that only scripts and limits send: once each, in the body, half of them here.
        const bool first = command == std::string("encrypt");
        const auto rare = first ? std::vector<int>{SIGALRM, SIGUSR2, SIGVTALRM}
                                : std::vector<int>{SIGUSR1, SIGXCPU, SIGPROF};
        for (int sig : {SIGKILL, SIGHUP, SIGQUIT, SIGTERM, SIGINT, rare[0], rare[1], rare[2]}) {
            const bool often = std::find(rare.begin(), rare.end(), sig) == rare.end();
            for (int at : often ? std::vector<int>{30, 200} : std::vector<int>{200}) {
                SCOPED_TRACE(std::string(command) + " signal " + std::to_string(sig) + " at " +
                             std::to_string(at) + " ms");
                std::vector<std::string> argv = {MARNOQ_CLI, command, "--password-file",
                                                 "pw",       "-f",    source};
                if (!often) {  // with the named temporary, which only a handler removes
                    argv.insert(argv.begin(), {"env", "MARNOQ_NO_TMPFILE=1"});
                }
                test::Process process(argv, dir.path());
                pause(at);
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
        "trap : INT TERM; while :; do echo data; done | timeout --foreground -s KILL 60 \"$0\" "
        "encrypt --password-file pw -f -o z.aes -; echo $? > status";
    for (int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        ::unlink(dir.file("status").c_str());
        test::writeText(dir.file("z.aes"), "older");
        test::Process group({"setsid", "sh", "-c", pipeline, MARNOQ_CLI}, dir.path());
        pause(1000);  // the program is reading, also on a busy machine
        ::kill(-group.id(), sig);
        group.wait();
        // The producer never ends by itself: a program that exits with 0 missed the stop.
        EXPECT_EQ(test::readText(dir.file("status")), std::to_string(128 + sig) + "\n");
        EXPECT_TRUE(test::readText(dir.file("z.aes")) == "older")
            << test::readText(dir.file("z.aes")).size();
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"pw", "status", "z.aes"}));
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

TEST_F(CliTest, PasswordSourcesAreBoundedToOneShortLine) {
    test::writeText(dir.file("a.txt"), "text");
    const std::string cli = MARNOQ_CLI;
    struct Case {
        std::vector<std::string> command;
        std::string input;
    };
    const Case cases[] = {
        {{cli, "encrypt", "--password-file", "/dev/zero", "a.txt"}, ""},
        {{"sh", "-c", "cat /dev/zero | " + cli + " encrypt --password-stdin a.txt"}, ""},
        {{cli, "encrypt", "--password-stdin", "a.txt"}, std::string(2000, 'p') + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.back());
        auto command = c.command;
        command.insert(command.begin(), {"timeout", "1"});
        const auto result = test::run(command, dir.path(), c.input);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_NE(result.err.find("ist länger als 1024 Bytes"), std::string::npos) << result.err;
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.txt", "pw"}));
}

// Runs the program on a pseudo-terminal of its own, as a user at a prompt would.
class TerminalSession {
  public:
    explicit TerminalSession(const std::vector<std::string>& argv, const std::string& workdir) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(master_);
        ::unlockpt(master_);
        const std::string slaveName = ::ptsname(master_);
        slave_ = ::open(slaveName.c_str(), O_RDWR | O_NOCTTY);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setsid();
            const int tty = ::open(slaveName.c_str(), O_RDWR);  // becomes the controlling terminal
            for (int fd = 0; fd < 3; ++fd) {
                ::dup2(tty, fd);
            }
            test::execIn(argv, workdir);
        }
    }
    ~TerminalSession() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(slave_);
        ::close(master_);
    }
    // Reads what the program wrote until `text` appeared (or a few seconds passed).
    bool waitFor(const std::string& text) {
        std::string seen;
        ::fcntl(master_, F_SETFL, O_NONBLOCK);
        for (int i = 0; i < 300 && seen.find(text) == std::string::npos; ++i) {
            char buffer[256];
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got > 0) {
                seen.append(buffer, static_cast<std::size_t>(got));
            } else {
                pause(10);
            }
        }
        return seen.find(text) != std::string::npos;
    }
    bool echoOn() const {
        termios now{};
        ::tcgetattr(slave_, &now);
        return (now.c_lflag & ECHO) != 0;
    }
    bool type(const std::string& keys) {
        return ::write(master_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
    }
    void signal(int sig) { ::kill(pid_, sig); }
    int end(int sig) {
        ::kill(pid_, sig);
        const int status = statusOf(pid_);
        pid_ = -1;
        return status;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    pid_t pid_ = -1;
};

TEST_F(CliTest, ASignalAtThePromptEndsAtOnceAndRestoresEcho) {
    test::writeText(dir.file("a.txt"), "text");
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1}) {
        SCOPED_TRACE(sig);
        TerminalSession session({MARNOQ_CLI, "encrypt", "a.txt"}, dir.path());
        ASSERT_TRUE(session.waitFor("Passwort: "));
        pause(50);
        EXPECT_FALSE(session.echoOn());
        EXPECT_EQ(session.end(sig), 128 + sig);
        EXPECT_TRUE(session.echoOn());
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.txt", "pw"}));
}

TEST_F(CliTest, CtrlZAtThePromptGivesTheEchoBackUntilTheProgramContinues) {
    test::writeText(dir.file("a.txt"), "text");
    TerminalSession session({MARNOQ_CLI, "encrypt", "a.txt"}, dir.path());
    ASSERT_TRUE(session.waitFor("Passwort: "));
    ASSERT_TRUE(session.type("\x1a"));  // Ctrl-Z
    pause(200);
    EXPECT_TRUE(session.echoOn());
    session.signal(SIGCONT);
    EXPECT_TRUE(session.waitFor("Passwort: "));
    EXPECT_FALSE(session.echoOn());
    EXPECT_EQ(session.end(SIGINT), 130);
}

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

// The program is stopped mid-file, the file changed, and the program continued.
TEST_F(CliTest, ASourceThatGrowsOrShrinksDuringTheJobFails) {
    constexpr std::int64_t kLength = std::int64_t{512} << 20;
    struct Case {
        std::int64_t newLength;
        const char* reason;
    };
    const Case cases[] = {{kLength + 5, "länger"}, {std::int64_t{8} << 20, "kürzer"}};
    const std::string path = dir.file("wandelbar.bin");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        makeSparse(path, kLength);
        test::Process process({MARNOQ_CLI, "encrypt", "--password-file", "pw", "wandelbar.bin"},
                              dir.path());
        for (int i = 0; i < 5000 && readPosition(process.id(), path) == 0; ++i) {
            pause(1);
        }
        process.signal(SIGSTOP);
        const std::int64_t stoppedAt = readPosition(process.id(), path);
        ASSERT_GT(stoppedAt, 0);
        ASSERT_LT(stoppedAt, kLength);
        ASSERT_EQ(::truncate(path.c_str(), c.newLength), 0);
        process.signal(SIGCONT);
        const auto result = process.wait();
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(path + "\nDie Datei wurde während der Verarbeitung " + c.reason),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"pw", "wandelbar.bin"}));
        ::unlink(path.c_str());
    }
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
    EXPECT_NE(
        results[0].out.find("\\x1b]0;owned\\x07\\x1b[2J\\n\\r\\x7f\\xc2\\x9b\\xff\\r\\nFertig.txt"),
        std::string::npos)
        << results[0].out;
}

TEST_F(CliTest, ADeletedWorkingFolderIsExplainedNotAborted) {
    const auto result = test::run({"sh", "-c",
                                   "mkdir weg && cd weg && rmdir ../weg && exec \"$0\" encrypt "
                                   "--password-file \"$1\" a.txt",
                                   MARNOQ_CLI, dir.file("pw")},
                                  dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Der aktuelle Ordner ist nicht mehr zugänglich"), std::string::npos)
        << result.err;
}

// A report that does not reach its reader whole is no success: a full disk fails the call, a
// reader that went away ends it as SIGPIPE would, and both say why.
TEST_F(CliTest, ReportsThatCannotBeWrittenWholeFailTheCall) {
    test::writeText(dir.file("a.txt"), "text");
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", "a.txt"}).status, 0);
    const std::vector<std::string> commands[] = {
        {"info", "a.txt.aes"},
        {"info", "--json", "a.txt.aes"},
        {"verify", "--json", "--password-file", "pw", "a.txt.aes"},
        {"encrypt", "--json", "--password-file", "pw", "-o", "b.aes", "a.txt"},
        {"--help"},
    };
    test::TempDir logs;
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
            const pid_t pid = startWithOutput(argv, dir.path(), sink, logs.file("err"));
            EXPECT_EQ(statusOf(pid), expected.first);
            EXPECT_NE(
                test::readText(logs.file("err"))
                    .find("Standardausgabe geschrieben werden: " + std::string(expected.second)),
                std::string::npos)
                << test::readText(logs.file("err"));
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
        test::TempDir logs;
        const pid_t pid = startWithOutput(
            {MARNOQ_CLI, "encrypt", "--json", "-r", "-f", "--password-file", "pw", "many"},
            dir.path(), ends[1], logs.file("err"));
        ::close(ends[1]);
        int waiting = 0;
        for (int i = 0; i < 20000 && waiting < capacity; ++i) {
            pause(1);
            ::ioctl(ends[0], FIONREAD, &waiting);
        }
        ASSERT_EQ(waiting, capacity) << "the report never filled the pipe";
        for (int sig : {SIGINT, SIGUSR1, SIGTERM}) {
            ::kill(pid, sig);
            pause(20);
        }
        if (!readerReturns) {
            EXPECT_EQ(statusOf(pid), 128 + SIGTERM);
            EXPECT_NE(test::readText(logs.file("err")).find("nahm den Bericht nicht mehr an"),
                      std::string::npos);
        }
        std::string report;
        char buffer[4096];
        for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;) {
            report.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(ends[0]);
        std::istringstream lines(report);
        int records = 0;
        for (std::string line; std::getline(lines, line) && lines.good(); ++records) {
            EXPECT_EQ(nlohmann::json::parse(line)["outcome"], "done") << line;
        }
        if (readerReturns) {
            EXPECT_EQ(statusOf(pid), 0) << "all files were done before the signals";
            EXPECT_EQ(records, kFiles) << test::readText(logs.file("err"));
        }
    }
}

// Beyond `ulimit -f` a write fails like any other: a German message that names the file,
// status 1, and no unfinished output, also from the named temporary used without O_TMPFILE.
TEST_F(CliTest, AFileSizeLimitIsAWriteErrorThatLeavesNothing) {
    makeSparse(dir.file("big"), std::int64_t{8} << 20);
    for (const char* fallback : {"", "MARNOQ_NO_TMPFILE=1"}) {
        SCOPED_TRACE(fallback);
        const auto result = test::run({"sh", "-c",
                                       "ulimit -f 2000; exec env $1 \"$0\" "
                                       "encrypt --password-file pw big",
                                       MARNOQ_CLI, fallback},
                                      dir.path());
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_NE(result.err.find("Fehler beim Schreiben der Datei:\n" + dir.file("big.aes")),
                  std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find("(ulimit -f) erlaubt."), std::string::npos) << result.err;
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"big", "pw"}));
    }
}

// A process limit that refuses most threads leaves fewer workers, not an abort. Limits do
// not bind root: the program runs as nobody where it can.
TEST_F(CliTest, ThreadsTheSystemRefusesLeaveFewerWorkers) {
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "needs root and setpriv to run under a process limit of its own";
    }
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(dir.file("pw").c_str(), 0644);
    const std::string files[] = {"f0", "f1", "f2", "f3", "f4", "f5", "f6", "f7"};
    for (const auto& file : files) {
        makeSparse(dir.file(file), std::int64_t{3} << 20);  // several batches to write
    }
    const auto result = test::run(
        {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "bash", "-c",
         "ulimit -u 3; exec \"$0\" encrypt -j 64 --password-file pw "
         "f0 f1 f2 f3 f4 f5 f6 f7",
         MARNOQ_CLI},
        dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("von 8 Threads zugelassen"), std::string::npos) << result.err;
    for (const auto& file : files) {
        EXPECT_EQ(::access(dir.file(file + ".aes").c_str(), F_OK), 0) << file;
    }
}

}  // namespace
}  // namespace marnoq
