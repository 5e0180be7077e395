#pragma once

#include <string>
#include <vector>

#include "cipher/cipher_events.h"

namespace marnoq::test {

// Records what the cipher shows and reports, in order.
class RecordingEvents : public CipherEvents {
  public:
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void letEventsRun() override { ++pumps; }
    void Progress(const float& Percent) override { percents.push_back(Percent); }
    std::vector<std::string> messages;
    std::vector<float> percents;
    int pumps = 0;
};

}  // namespace marnoq::test
