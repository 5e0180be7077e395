#pragma once

#include <string>

namespace marnoq {

// What the cipher's bulk operations need from their owner: a message box (OK button, no icon,
// the program's default title), a chance to let pending window events run, and the Progress
// event. letEventsRun() may throw to abandon the operation (the program is closing).
class CipherEvents {
public:
    virtual ~CipherEvents() = default;
    virtual void showMessage(const std::string& text) = 0;
    virtual void letEventsRun() = 0;
    virtual void Progress(const float& Percent) = 0;
};

}  // namespace marnoq
