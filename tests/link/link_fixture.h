#pragma once

#include "base/clock.h"
#include "link/device_link.h"
#include "tests/link/pty_peer.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace quillon::testing {

// A clock that records every pause and lets a test act at the moment the link pauses (look
// at the wire, send chatter) without paying the pause in real time.
class HookClock final : public Clock {
public:
  void sleepMs(int ms) override {
    pauses.push_back(ms);
    nowMs += ms;
    if (onSleep)
      onSleep(ms);
  }
  std::int64_t wholeSeconds() override { return nowMs / 1000; }

  std::vector<int> pauses;
  std::int64_t nowMs = 0;
  std::function<void(int)> onSleep;
};

// A link whose discovery found a peer that plays the device.
struct FoundDevice {
  explicit FoundDevice(PtyPeer::Answer answer = DeviceAnswers(),
                       SerialPortFactory factory = MakePlatformSerialPort)
      : link(clock, std::move(factory)) {
    peer.serve(std::move(answer));
    link.setCandidatePorts({peer.slavePath()});
    EXPECT_EQ(link.FindDevice(), KV7SUCCESS);
    EXPECT_TRUE(peer.waitForBytes(6, std::chrono::seconds(1)));
    helloBytes = peer.received().size();
    clock.pauses.clear();
    clock.nowMs = 0;
  }

  // What the link wrote since discovery.
  Bytes sentSinceDiscovery() const {
    const Bytes all = peer.received();
    return Bytes(all.begin() + static_cast<std::ptrdiff_t>(helloBytes), all.end());
  }

  PtyPeer peer;
  HookClock clock;
  DeviceLink link;
  std::size_t helloBytes = 0;
};

} // namespace quillon::testing
