#include "support/process_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "support/process.h"
#include "support/temp_dir.h"

namespace marnoq::test {
namespace {

// Starts the program; `prepare` runs in the child before, to hand it its descriptors.
pid_t spawn(const std::vector<std::string>& argv, const std::string& workdir,
            const std::function<void()>& prepare) {
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork");
    }
    if (pid == 0) {
        prepare();
        if (::chdir(workdir.c_str()) != 0) {
            ::_exit(126);
        }
        std::vector<char*> args;
        for (const auto& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

// Exit status, or 128 + the number of the signal that ended the program.
int waitStatus(pid_t& pid) {
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    pid = -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

void signalTo(pid_t pid, int number) {
    if (pid > 0) {  // -1 would reach every process
        ::kill(pid, number);
    }
}

void killIfRunning(pid_t& pid) {
    if (pid > 0) {
        ::kill(pid, SIGKILL);
        waitStatus(pid);
    }
}

int openTerminal() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master);
    ::unlockpt(master);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    return master;
}

}  // namespace

struct Process::Child {
    pid_t pid = -1;
};

Process::Process(const std::vector<std::string>& argv, const std::string& workdir,
                 const std::string& input)
    : Process(argv, workdir, input, -1) {}

Process::Process(const std::vector<std::string>& argv, const std::string& workdir,
                 const std::string& input, int out)
    : child_(std::make_unique<Child>()) {
    const std::string outPath = scratch_.file("out"), errPath = scratch_.file("err");
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe");
    }
    child_->pid = spawn(argv, workdir, [&] {
        ::dup2(pipeFds[0], 0);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        // Both files are made, so that `wait` finds them whatever `out` is; the program keeps
        // only the copies.
        const int outFile = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        ::dup2(out >= 0 ? out : outFile, 1);
        ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600), 2);
    });
    ::close(pipeFds[0]);
    FILE* in = ::fdopen(pipeFds[1], "w");
    std::fwrite(input.data(), 1, input.size(), in);
    std::fclose(in);
}

Process::~Process() {
    killIfRunning(child_->pid);
}

int Process::id() const {
    return child_->pid;
}

void Process::signal(int number) {
    signalTo(child_->pid, number);
}

ProcessResult Process::wait() {
    ProcessResult result;
    result.status = waitStatus(child_->pid);
    result.out = readText(scratch_.file("out"));
    result.err = readText(scratch_.file("err"));
    return result;
}

TerminalSession::TerminalSession(const std::vector<std::string>& argv, const std::string& workdir)
    : master_(openTerminal()),
      slave_(::open(::ptsname(master_), O_RDWR | O_NOCTTY)),
      pid_(spawn(argv, workdir, [name = std::string(::ptsname(master_))] {
          ::setsid();
          const int tty = ::open(name.c_str(), O_RDWR);  // becomes the controlling terminal
          for (int fd = 0; fd < 3; ++fd) {
              ::dup2(tty, fd);
          }
      })) {}

TerminalSession::~TerminalSession() {
    killIfRunning(pid_);
    ::close(slave_);
    ::close(master_);
}

bool TerminalSession::waitFor(const std::string& text) {
    std::string seen;
    return waitUntil(
        [&] { return readSome(master_, seen) && seen.find(text) != std::string::npos; },
        std::chrono::seconds(10));
}

bool TerminalSession::echoOn() const {
    termios now{};
    ::tcgetattr(slave_, &now);
    return (now.c_lflag & ECHO) != 0;
}

bool TerminalSession::type(const std::string& keys) {
    return ::write(master_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

void TerminalSession::signal(int number) const {
    signalTo(pid_, number);
}

int TerminalSession::end(int number) {
    signalTo(pid_, number);
    return waitStatus(pid_);
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool readSome(int fd, std::string& into) {
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) {
        into.append(buffer, static_cast<std::size_t>(got));
    }
    return got > 0;
}

}  // namespace marnoq::test
