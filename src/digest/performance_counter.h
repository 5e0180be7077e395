#pragma once

#include <cstdint>

namespace marnoq {

// The system's high-resolution monotonic counter and its ticks per second.
std::int64_t performanceFrequency();
std::int64_t performanceCount();

}  // namespace marnoq
