#pragma once

#include "sim/device_port.h"
#include "sim/faults.h"
#include "sim/gps_chip.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::sim {

// What a command asks of the device beyond its answer.
enum class CommandEffect { None, EnterCommandMode, EnterPassthrough, ShutDown };

// The texts the device shows in its record.
struct DeviceFacts {
  std::string battery;    // 3 characters
  std::string identity;   // 16 characters
  std::string appVersion; // 5 characters
};

// The Yardmark's own protocol: the hello and the five commands, each a text ended by a zero
// byte, answered with an echo and, for two of them, a data reply some time later. Commands
// count only after a hello; the device's UART runs at 115200 baud, so bytes at another rate
// are noise.
class CommandProtocol {
public:
  CommandProtocol(DeviceFacts facts, GpsChip& chip, FaultSet& faults, DevicePort& port);

  // Power on: nothing heard yet, no hello.
  void reset();
  CommandEffect receive(std::uint8_t byte, int baud);

  // The 39-byte device record (38 with "short-record").
  std::vector<std::uint8_t> deviceRecord() const;

private:
  CommandEffect handleText(const std::string& text);
  void sendText(std::string_view text);
  void sendLater(std::chrono::milliseconds delay, std::vector<std::uint8_t> reply);
  // Sends `reply` at `due`, but no sooner than kAfterEchoTaken after the host took the echo.
  // `lookingSince`: the first look; `seen`: the echo was seen waiting at the host.
  void sendOnceEchoTaken(std::vector<std::uint8_t> reply, SimTime due, SimTime lookingSince,
                         bool seen);

  DeviceFacts facts_;
  GpsChip& chip_;
  FaultSet& faults_;
  DevicePort& port_;
  std::string text_;
  bool overlong_ = false;
  bool greeted_ = false;
};

} // namespace quillon::sim
