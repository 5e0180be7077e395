#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace marnoq::test {

// The program on a pseudo-terminal of its own, as a user at a prompt runs it.
class TerminalSession {
  public:
    TerminalSession(const std::vector<std::string>& argv, const std::string& workdir);
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;
    ~TerminalSession();
    bool waitFor(const std::string& text);  // until it appears or a few seconds have passed
    bool echoOn() const;
    bool type(const std::string& keys);
    void signal(int number) const;
    int end(int number);  // the status the signal ends the program with

  private:
    int master_, slave_;
    pid_t pid_;
};

// Asks `done` until it holds or the time is up; whether it held.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
// Appends what the descriptor has to `into`; whether there was anything.
bool readSome(int fd, std::string& into);

}  // namespace marnoq::test
