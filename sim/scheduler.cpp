#include "sim/scheduler.h"

namespace quillon::sim {

Scheduler::Id Scheduler::at(SimTime when, std::function<void()> action) {
  const Id id = nextId_++;
  actions_.emplace(Key{when, id}, std::move(action));
  whenById_.emplace(id, when);
  return id;
}

void Scheduler::cancel(Id id) {
  const auto found = whenById_.find(id);
  if (found == whenById_.end())
    return;
  actions_.erase(Key{found->second, id});
  whenById_.erase(found);
}

void Scheduler::clear() {
  actions_.clear();
  whenById_.clear();
}

std::optional<SimTime> Scheduler::next() const {
  if (actions_.empty())
    return std::nullopt;
  return actions_.begin()->first.when;
}

void Scheduler::runDue(SimTime now) {
  while (!actions_.empty() && actions_.begin()->first.when <= now) {
    auto first = actions_.begin();
    auto action = std::move(first->second);
    whenById_.erase(first->first.id);
    actions_.erase(first);
    action();
  }
}

} // namespace quillon::sim
