#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace marnoq {

// Measures a job's duration on a monotonic counter, in milliseconds.
class clsTimer {
public:
    using Counter = std::function<std::int64_t()>;

    clsTimer();  // the system's performance counter
    clsTimer(std::int64_t frequency, Counter counter);

    bool HasCounter() const { return frequency_ > 0; }
    // Throws std::overflow_error when the frequency does not fit 32 bits.
    std::int32_t TicksPerSecond() const;
    void ResetTimer() { start_ = counter_(); }
    void StopTimer() { stop_ = counter_(); }
    double Elapsed() const;
    // "Execution took " and the milliseconds as ###,##0.000 in German format, then " ms".
    std::string strElapsed() const;

private:
    std::int64_t frequency_;
    Counter counter_;
    std::int64_t start_ = 0;
    std::int64_t stop_ = 0;
};

}  // namespace marnoq
