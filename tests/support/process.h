#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace marnoq::test {

struct ProcessResult {
    int status = -1;  // exit status, or 128 + signal number
    std::string out;
    std::string err;
};

// Starts a program with the given arguments, working folder and standard input text.
class Process {
public:
    Process(const std::vector<std::string>& argv, const std::string& workdir,
            const std::string& input = "");
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    void signal(int number);
    pid_t id() const { return pid_; }
    ProcessResult wait();

private:
    pid_t pid_ = -1;
    std::string outPath_, errPath_;
};

// In a child after fork: changes to the folder and runs the program; never returns.
[[noreturn]] void execIn(const std::vector<std::string>& argv, const std::string& workdir);

ProcessResult run(const std::vector<std::string>& argv, const std::string& workdir,
                  const std::string& input = "");

}  // namespace marnoq::test
