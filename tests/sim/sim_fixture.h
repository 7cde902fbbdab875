#pragma once

#include "sim/virtual_yardmark.h"
#include "tests/sim/line_client.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace quillon::sim::testing {

using namespace std::chrono_literals;

// At this scale the device record follows its echo after 75 ms and the GPS version after
// 125 ms, which a host on a virtual clock reads within its 600 ms and 330 ms windows.
constexpr double kFastScale = 0.05;

inline YardmarkOptions FastOptions(std::vector<std::string> faults = {}) {
  YardmarkOptions options;
  options.timeScale = kFastScale;
  options.faults = std::move(faults);
  return options;
}

// A running virtual Yardmark and a host on its slave.
struct Served {
  explicit Served(YardmarkOptions options) : device(std::move(options)) {
    started = device.start();
    if (started)
      host = std::make_unique<LineClient>(device.slavePath());
  }
  VirtualYardmark device;
  bool started = false;
  std::unique_ptr<LineClient> host;
};

// Sends a text the way the program does and returns what came back in the echo read: up to
// 9 bytes, ended by a 25 ms gap.
inline std::vector<std::uint8_t> Exchange(LineClient& host, std::string_view text) {
  host.sendText(text);
  return host.read(9, 150ms);
}

// Polls `condition` until it holds or `total` has passed; its last answer.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds total = 2000ms) {
  const auto end = std::chrono::steady_clock::now() + total;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end)
      return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

inline void Greet(LineClient& host) {
  ASSERT_EQ(Exchange(host, "SA-28"), Bytes("SA-77"));
}

} // namespace quillon::sim::testing
