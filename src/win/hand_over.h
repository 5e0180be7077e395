#pragma once

#include <windows.h>

#include <string>

namespace marnoq::win {

// Explorer starts the program once for every selected file. The starts take turns on a named
// lock; a start that finds an earlier one's window gives it its files and ends, so a selection
// arrives in one window. The lock is held until this start's own window exists.
class StartTurn {
  public:
    StartTurn();
    ~StartTurn();
    StartTurn(const StartTurn&) = delete;
    StartTurn& operator=(const StartTurn&) = delete;
    void end();

  private:
    HANDLE lock_;
};

// True when a running window took the files named on this command line.
bool handOverToRunningWindow(const std::wstring& arguments);

}  // namespace marnoq::win
