#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <limits>

namespace quillon {

// The total time a serial transfer of n bytes may take: a constant plus a multiplier per byte,
// the way the port's read and write time-outs are stated (and the way Windows takes them).
// Both backends measure it on the monotonic clock, so a change of the system time neither
// stretches nor cuts a transfer short.
struct TransferTimeout {
  using Steady = std::chrono::steady_clock;

  std::chrono::milliseconds constant{0};
  std::chrono::milliseconds perByte{0};

  constexpr std::chrono::milliseconds forBytes(std::size_t n) const {
    return constant + perByte * static_cast<long long>(n);
  }
  // The moment a transfer of n bytes that starts now must be over: computed once per
  // transfer, so retries and partial progress never move it.
  Steady::time_point deadlineFor(std::size_t n) const { return Steady::now() + forBytes(n); }
};

// Milliseconds left until `end`, rounded up so that a wait never gives up before its end
// time; 0 once it has passed.
inline int MsUntil(std::chrono::steady_clock::time_point end) {
  const long long left =
      std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, std::numeric_limits<int>::max()));
}

} // namespace quillon
