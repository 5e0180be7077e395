#include "digest/clsTimer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace marnoq {
namespace {

TEST(Timer, MeasuresBetweenTheStoredCounts) {
    std::int64_t now = 0;
    clsTimer timer(10'000'000, [&] { return now; });
    EXPECT_TRUE(timer.HasCounter());
    EXPECT_EQ(timer.TicksPerSecond(), 10'000'000);
    EXPECT_EQ(timer.Elapsed(), 0.0);
    now = 100;
    timer.ResetTimer();
    EXPECT_LT(timer.Elapsed(), 0.0);  // stop count still 0
    now = 25'000'100;
    timer.StopTimer();
    EXPECT_EQ(timer.Elapsed(), 2500.0);
    now = 99'000'000;  // Elapsed does not read the counter
    EXPECT_EQ(timer.Elapsed(), 2500.0);
    EXPECT_EQ(timer.strElapsed(), "Execution took 2.500,000 ms");
    clsTimer fine(1'000'000, [&] { return now; });
    now = 0;
    fine.ResetTimer();
    now = 1'234'567'800;
    fine.StopTimer();
    EXPECT_EQ(fine.strElapsed(), "Execution took 1.234.567,800 ms");
}

TEST(Timer, EdgesOfTheCounter) {
    clsTimer none(0, [] { return std::int64_t{0}; });
    EXPECT_FALSE(none.HasCounter());
    EXPECT_TRUE(std::isnan(none.Elapsed()));
    clsTimer huge(std::int64_t{1} << 40, [] { return std::int64_t{0}; });
    EXPECT_THROW(huge.TicksPerSecond(), std::overflow_error);
    clsTimer real;
    real.ResetTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    real.StopTimer();
    EXPECT_TRUE(real.HasCounter());
    EXPECT_GE(real.Elapsed(), 20.0);  // in milliseconds: the counter's frequency is right
    EXPECT_LT(real.Elapsed(), 10000.0);
}

}  // namespace
}  // namespace marnoq
