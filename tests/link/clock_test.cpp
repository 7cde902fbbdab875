// The loader's seconds: real time, scaled or not, in which a stall of this process is not
// taken for a silence of the device.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "base/clock.h"

namespace quillon {
namespace {

using namespace std::chrono_literals;

TEST(SystemClock, AtFullSpeedPausesCountWhole) {
  SystemClock clock;
  const std::int64_t before = clock.wholeSeconds();
  clock.sleepMs(1100);
  EXPECT_GE(clock.wholeSeconds() - before, 1);
}

TEST(SystemClock, ScaledPausesCountWhole) {
  SystemClock clock(0.05);
  const std::int64_t before = clock.wholeSeconds();
  clock.sleepMs(3000); // 150 ms of real time, three seconds of the device's
  EXPECT_GE(clock.wholeSeconds() - before, 3);
}

TEST(SystemClock, AStallOfTheProcessCountsAsOneDeviceSecondAtMost) {
  SystemClock clock(0.05);
  const std::int64_t before = clock.wholeSeconds();
  std::this_thread::sleep_for(300ms); // six device seconds if it counted in full
  EXPECT_LE(clock.wholeSeconds() - before, 1);
}

TEST(SystemClock, ScaledTimeStillPassesForALoopThatKeepsLooking) {
  SystemClock clock(0.05);
  const std::int64_t before = clock.wholeSeconds();
  // The loader looks after every short read: 300 ms of such a loop are six device seconds
  // (fewer only if this process itself stalls on the way).
  const auto end = std::chrono::steady_clock::now() + 300ms;
  while (std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(5ms);
    clock.wholeSeconds();
  }
  EXPECT_GE(clock.wholeSeconds() - before, 3);
}

} // namespace
} // namespace quillon
