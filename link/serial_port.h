#pragma once

#include "base/status_codes.h"
#include "link/transfer_timeout.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

// One serial port, as the device link uses it. The line is 8N1, raw, no flow control, DTR and
// RTS off, NUL bytes passed. Reads end at n bytes, at a 25 ms gap between two bytes, or after
// 15 + 15 x n ms; writes are bounded by 15 + 15 x n ms. The backends (termios + poll on POSIX,
// overlapped I/O on Windows) implement it; DeviceLink turns its answers into status codes.
class SerialPort {
public:
  static constexpr std::chrono::milliseconds kReadInterval{25};
  static constexpr TransferTimeout kReadTotal{std::chrono::milliseconds(15),
                                              std::chrono::milliseconds(15)};
  static constexpr TransferTimeout kWriteTotal{std::chrono::milliseconds(15),
                                               std::chrono::milliseconds(15)};

  virtual ~SerialPort() = default;

  // Opens `path` for exclusive use. False when it does not exist or someone holds it.
  virtual bool open(const std::string& path) = 0;
  // Asks the driver for the line settings the port has now; nothing is kept, as the line
  // settings below replace them whole. False when the driver refuses.
  virtual bool readSettings() = 0;
  // Applies the read and write time-outs above. False when the driver refuses.
  virtual bool applyTimeouts() = 0;
  // Applies 8N1 raw at `baud`. False for any speed but the two the device runs at
  // (device_protocol::IsLineSpeed), and when the driver refuses.
  virtual bool applyLineSettings(int baud) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Number of bytes read, 0..n; 0 also for every failure and at once after a disconnect.
  virtual std::size_t read(std::uint8_t* buffer, std::size_t n) = 0;
  // 0 when all n bytes went out; otherwise the link's write failure codes: 19 the transfer
  // failed, 20 not completed within its bound, 21 the transfer could not be started.
  virtual StatusCode write(const std::uint8_t* buffer, std::size_t n) = 0;
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

// The system's serial devices in a stable order: what discovery tries when it is not handed a
// list of its own. On Linux at most 32; on Windows the 32 ports of the COM port table, then
// every port above COM32 that Windows lists as present, ascending.
std::vector<std::string> ListCandidatePorts();

} // namespace quillon
