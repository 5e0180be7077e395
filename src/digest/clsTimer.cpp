#include "digest/clsTimer.h"

#include <cstdio>
#include <limits>
#include <stdexcept>

#include "digest/performance_counter.h"

namespace marnoq {

clsTimer::clsTimer() : clsTimer(performanceFrequency(), performanceCount) {}

clsTimer::clsTimer(std::int64_t frequency, Counter counter)
    : frequency_(frequency), counter_(std::move(counter)) {}

std::int32_t clsTimer::TicksPerSecond() const {
    if (frequency_ > std::numeric_limits<std::int32_t>::max()) {
        throw std::overflow_error("clsTimer.TicksPerSecond - Overflow");
    }
    return static_cast<std::int32_t>(frequency_);
}

double clsTimer::Elapsed() const {
    return static_cast<double>(stop_ - start_) / static_cast<double>(frequency_) * 1000.0;
}

std::string clsTimer::strElapsed() const {
    if (!HasCounter()) {
        return "Execution took - ms (kein Zeitgeber)";
    }
    char plain[64];
    std::snprintf(plain, sizeof plain, "%.3f", Elapsed());
    std::string digits(plain);
    bool negative = !digits.empty() && digits[0] == '-';
    if (negative) {
        digits.erase(0, 1);
    }
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            grouped += '.';
        }
        grouped += whole[i];
    }
    return "Execution took " + std::string(negative ? "-" : "") + grouped + "," +
           digits.substr(point + 1) + " ms";
}

}  // namespace marnoq
