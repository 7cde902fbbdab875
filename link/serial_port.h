#pragma once

#include "link/transfer_timeout.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quillon {

// Why a port operation failed. DeviceLink makes the device's status codes from it, and
// discovery names it for each port it passed over, so support staff can tell a busy port from
// a missing one.
enum class PortError {
  Busy,        // another program holds the port, or this one does
  Denied,      // the user may not open it (on Linux: not in the dialout group)
  Gone,        // no such port, or its cable or USB adapter was pulled
  TimedOut,    // a write the line did not take within its bound
  NoResources, // the system could not set the transfer up (no event, no memory)
  Other,       // anything else: the system's own number says what
};

struct PortFailure {
  PortError error = PortError::Other;
  // errno on POSIX, GetLastError() on Windows, for the log; 0 when the system named none
  // (an end of file, a write cut short by its time-out).
  int systemError = 0;
  bool operator==(const PortFailure&) const = default;
};

// Nothing when the operation succeeded; otherwise why it failed.
using PortResult = std::optional<PortFailure>;

// What a read brought: a count of 0 without a failure is a line that stayed silent until the
// read's time-out, which is no failure at all.
struct ReadResult {
  std::size_t count = 0;
  PortResult failure;
};

// One serial port, as the device link uses it. The line is 8N1, raw, no flow control, DTR and
// RTS off, NUL bytes passed. Reads end at n bytes, at a 25 ms gap between two bytes, or after
// 15 + 15 x n ms; writes are bounded by 15 + 15 x n ms. The backends (termios + poll on POSIX,
// overlapped I/O on Windows) implement it; DeviceLink turns their failures into status codes.
class SerialPort {
public:
  static constexpr std::chrono::milliseconds kReadInterval{25};
  static constexpr TransferTimeout kReadTotal{std::chrono::milliseconds(15),
                                              std::chrono::milliseconds(15)};
  static constexpr TransferTimeout kWriteTotal{std::chrono::milliseconds(15),
                                               std::chrono::milliseconds(15)};

  virtual ~SerialPort() = default;

  // Opens `path` for exclusive use: Busy when someone holds it, Gone when it does not exist.
  virtual PortResult open(const std::string& path) = 0;
  // Applies the read and write time-outs above.
  virtual PortResult applyTimeouts() = 0;
  // Applies 8N1 raw at `baud`. Fails for any speed but the two the device runs at
  // (device_protocol::IsLineSpeed), and when the driver refuses.
  virtual PortResult applyLineSettings(int baud) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Up to n bytes. After a disconnect every read fails at once with Gone.
  virtual ReadResult read(std::uint8_t* buffer, std::size_t n) = 0;
  // All n bytes, or why not: TimedOut when they were not taken within the write bound.
  virtual PortResult write(const std::uint8_t* buffer, std::size_t n) = 0;
  // Abandon pending reads and empty the input queue.
  virtual void purgeReceive() = 0;
  // Abandon pending writes and empty the output queue.
  virtual void purgeTransmit() = 0;

  // True once the other end has gone (hang-up, I/O error, end of file): the cable was
  // unplugged. It stays true until the port is closed.
  virtual bool hasGone() const = 0;
};

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

// The platform's own backend.
std::unique_ptr<SerialPort> MakePlatformSerialPort();

} // namespace quillon
