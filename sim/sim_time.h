#pragma once

#include <chrono>

namespace quillon::sim {

// The virtual Yardmark runs on real, monotonic time: the host on the other end of the line
// measures its read windows in real time, whatever clock its own pauses use.
using SimClock = std::chrono::steady_clock;
using SimTime = SimClock::time_point;
using SimDuration = SimClock::duration;

// A device delay shortened (or stretched) by the time scale the device was started with.
inline SimDuration Scaled(std::chrono::milliseconds delay, double timeScale) {
  return std::chrono::duration_cast<SimDuration>(
      std::chrono::duration<double, std::milli>(static_cast<double>(delay.count()) * timeScale));
}

// Line time of one byte: a start bit, eight data bits and a stop bit.
inline SimDuration ByteTime(int baud) {
  if (baud <= 0)
    return SimDuration::zero();
  return std::chrono::duration_cast<SimDuration>(std::chrono::duration<double>(10.0 / baud));
}

} // namespace quillon::sim
