#pragma once

#include "base/clock.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace quillon {

// A Clock that keeps a window alive while the device work blocks the one thread: it sleeps
// in short slices and calls the installed pump after each. The device link and the device
// pages share one of these, so the link's own long waits (20 s after a GPS reset) pump too.
class PumpingClock final : public Clock {
public:
  // Short enough that a window manager never sees the window as hung.
  static constexpr std::chrono::milliseconds kSlice{50};

  explicit PumpingClock(Clock& inner) : inner_(inner) {}

  void sleepMs(int ms) override;
  std::int64_t wholeSeconds() override { return inner_.wholeSeconds(); }

  // Calls the pump installed at the moment, if any.
  void pump() const;

  // Installs a pump for its lifetime and puts the previous one back when it ends.
  class Scope {
  public:
    Scope(PumpingClock& clock, std::function<void()> pump);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

  private:
    PumpingClock& clock_;
    std::function<void()> previous_;
  };

private:
  Clock& inner_;
  std::function<void()> pump_;
};

} // namespace quillon
