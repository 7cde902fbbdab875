#pragma once

#include "sim/sim_time.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace quillon::sim {

// Timed actions of the device (a reply due in 1.5 s, the next boot-loader hello, the next
// sector erased). Runs on the serving thread only; callbacks may schedule further actions.
class Scheduler {
public:
  using Id = std::uint64_t;

  Id at(SimTime when, std::function<void()> action);
  void cancel(Id id);
  void clear();
  std::optional<SimTime> next() const;
  // Runs, in time order, every action due at `now`, including those scheduled by them for a
  // time not later than `now`.
  void runDue(SimTime now);

private:
  struct Key {
    SimTime when;
    Id id;
    bool operator<(const Key& other) const {
      return when != other.when ? when < other.when : id < other.id;
    }
  };
  std::map<Key, std::function<void()>> actions_;
  std::map<Id, SimTime> whenById_;
  Id nextId_ = 1;
};

} // namespace quillon::sim
