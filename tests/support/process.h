#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"

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
#ifndef _WIN32
    // With `out` as its standard output instead of the file that `wait` reads back.
    Process(const std::vector<std::string>& argv, const std::string& workdir,
            const std::string& input, int out);
    int id() const;  // the process id
#endif
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();
    // Sends the signal; on Windows the program is ended with exit status 128 + number.
    void signal(int number);
    ProcessResult wait();

  private:
    struct Child;  // what the system needs to wait for and stop the program
    std::unique_ptr<Child> child_;
    TempDir scratch_;  // the program's standard output and error, which `wait` reads back
};

inline ProcessResult run(const std::vector<std::string>& argv, const std::string& workdir,
                         const std::string& input = "") {
    return Process(argv, workdir, input).wait();
}

}  // namespace marnoq::test
