#include <chrono>

#include "digest/performance_counter.h"

namespace marnoq {

std::int64_t performanceFrequency() {
    return 1'000'000'000;
}

std::int64_t performanceCount() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace marnoq
