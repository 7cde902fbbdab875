#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

namespace quillon {

// Every wait the device protocol or a page asks for goes through a Clock, so tests can run
// a 20 s GPS reset in no time and the demo can speed the whole wizard up. Serial time-outs
// (the inter-byte gap, the total read time) are not waits of this kind: they stay real time
// inside the serial backend.
class Clock {
public:
  virtual ~Clock() = default;
  // A fixed pause the protocol asks for (300 ms after an open, 1000 ms before an echo...).
  virtual void sleepMs(int ms) = 0;
  // Whole seconds from a monotonic source, for the flash loader's time-outs. Monotonic so
  // that a change of the system time can neither stall nor hurry a wait.
  virtual std::int64_t wholeSeconds() = 0;
};

// Real time, optionally scaled: a scale of 0.1 makes every pause a tenth as long and every
// second of the loader's time-outs pass ten times as fast.
// The loader looks at the clock after every short read. A gap between two looks longer than
// one second of the device's is this process not getting a processor (a loaded machine, a
// laptop waking up), not the device keeping silent, and counts as one second: counted in full,
// a stall would fire the record time-out at once, and the resend would race the device's late
// answer to the first copy, whose second acknowledgement would then pass for the next
// record's. Pauses count whole.
class SystemClock final : public Clock {
  using Steady = std::chrono::steady_clock;

public:
  explicit SystemClock(double scale = 1.0)
      : scale_(scale > 0.0 ? scale : 1.0),
        longestCountedGap_(
            std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(scale_))) {}

  void sleepMs(int ms) override {
    if (ms <= 0)
      return;
    const Steady::time_point start = Steady::now();
    countGap(start);
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms * scale_));
    const Steady::time_point end = Steady::now();
    elapsed_ += end - start;
    lastLook_ = end;
  }

  std::int64_t wholeSeconds() override {
    countGap(Steady::now());
    return static_cast<std::int64_t>(std::chrono::duration<double>(elapsed_).count() / scale_);
  }

private:
  void countGap(Steady::time_point now) {
    elapsed_ += std::min(now - lastLook_, longestCountedGap_);
    lastLook_ = now;
  }

  double scale_;
  Steady::duration longestCountedGap_;
  Steady::time_point lastLook_ = Steady::now();
  Steady::duration elapsed_{};
};

// Time that moves only when someone waits: tests see every pause recorded and pay none of it.
class VirtualClock final : public Clock {
public:
  void sleepMs(int ms) override {
    if (ms > 0)
      nowMs_ += ms;
    ++sleeps_;
  }
  std::int64_t wholeSeconds() override { return nowMs_ / 1000; }

  void advanceMs(std::int64_t ms) { nowMs_ += ms; }
  std::int64_t nowMs() const { return nowMs_; }
  int sleepCount() const { return sleeps_; }

private:
  std::int64_t nowMs_ = 0;
  int sleeps_ = 0;
};

} // namespace quillon
