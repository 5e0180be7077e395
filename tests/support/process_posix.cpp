#include "support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "support/temp_dir.h"

namespace marnoq::test {
namespace {

std::string scratchFile(const char* name) {
    std::string pattern = std::string("/tmp/marnoq-") + name + "-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throw std::runtime_error("mkstemp");
    }
    ::close(fd);
    return pattern;
}

}  // namespace

struct Process::Child {
    pid_t pid = -1;
};

Process::Process(const std::vector<std::string>& argv, const std::string& workdir,
                 const std::string& input)
    : child_(std::make_unique<Child>()),
      outPath_(scratchFile("out")),
      errPath_(scratchFile("err")) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe");
    }
    child_->pid = ::fork();
    if (child_->pid == 0) {
        ::dup2(pipeFds[0], 0);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        int out = ::open(outPath_.c_str(), O_WRONLY | O_TRUNC);
        int err = ::open(errPath_.c_str(), O_WRONLY | O_TRUNC);
        ::dup2(out, 1);
        ::dup2(err, 2);
        execIn(argv, workdir);
    }
    ::close(pipeFds[0]);
    for (std::size_t done = 0; done < input.size();) {
        ssize_t put = ::write(pipeFds[1], input.data() + done, input.size() - done);
        if (put <= 0) {
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    ::close(pipeFds[1]);
}

void execIn(const std::vector<std::string>& argv, const std::string& workdir) {
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

Process::~Process() {
    if (child_->pid > 0) {
        ::kill(child_->pid, SIGKILL);
        ::waitpid(child_->pid, nullptr, 0);
    }
    ::unlink(outPath_.c_str());
    ::unlink(errPath_.c_str());
}

int Process::id() const {
    return child_->pid;
}

void Process::signal(int number) {
    ::kill(child_->pid, number);
}

ProcessResult Process::wait() {
    int raw = 0;
    ::waitpid(child_->pid, &raw, 0);
    child_->pid = -1;
    ProcessResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    result.out = readText(outPath_);
    result.err = readText(errPath_);
    return result;
}

}  // namespace marnoq::test
