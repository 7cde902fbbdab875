#include "pages/pumping_clock.h"

#include <algorithm>
#include <utility>

namespace quillon {

void PumpingClock::sleepMs(int ms) {
  if (!pump_) {
    inner_.sleepMs(ms);
    return;
  }
  while (ms > 0) {
    const int slice = std::min(ms, static_cast<int>(kSlice.count()));
    inner_.sleepMs(slice);
    ms -= slice;
    pump_();
  }
}

void PumpingClock::pump() const {
  if (pump_)
    pump_();
}

PumpingClock::Scope::Scope(PumpingClock& clock, std::function<void()> pump)
    : clock_(clock), previous_(std::exchange(clock.pump_, std::move(pump))) {}

PumpingClock::Scope::~Scope() {
  clock_.pump_ = std::move(previous_);
}

} // namespace quillon
