#pragma once

#include "link/serial_port.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace quillon::testing {

// Faults a pseudo-terminal cannot produce, laid over the real POSIX port: everything else,
// bytes on the wire included, is the real thing.
struct PortFaults {
  std::string deniedPath; // opening this path is refused as for a user without
                          // the right to it (EACCES), which root never sees
  bool refuseTimeouts = false;
  bool refuseLineSettings = false;      // every applyLineSettings
  bool refuseLaterLineSettings = false; // only after the first (a baud change)
  int failWriteNumber = 0;              // this write (1-based) and every later one fail (EIO)
  int writes = 0;                       // write calls seen
  std::uint64_t bytesWritten = 0;       // by the writes that succeeded
  // A write returns only this long after its bytes went out, so that a prompt device's answer
  // is in before the program's next call: as on Windows, where a write completes when the
  // driver has sent the bytes, and on a busy machine that runs the device first.
  std::chrono::milliseconds writeReturnsAfter{0};
};

class FaultyPort final : public SerialPort {
public:
  explicit FaultyPort(PortFaults& faults) : faults_(faults), real_(MakePlatformSerialPort()) {}

  PortResult open(const std::string& path) override {
    if (!faults_.deniedPath.empty() && path == faults_.deniedPath)
      return PortFailure{PortError::Denied, EACCES};
    return real_->open(path);
  }
  PortResult applyTimeouts() override {
    if (faults_.refuseTimeouts)
      return PortFailure{PortError::Other, EINVAL};
    return real_->applyTimeouts();
  }
  PortResult applyLineSettings(int baud) override {
    const bool refuse = faults_.refuseLineSettings || (faults_.refuseLaterLineSettings && applied_);
    applied_ = true;
    if (refuse)
      return PortFailure{PortError::Other, EINVAL};
    return real_->applyLineSettings(baud);
  }
  void close() override { real_->close(); }
  bool isOpen() const override { return real_->isOpen(); }
  ReadResult read(std::uint8_t* buffer, std::size_t n) override { return real_->read(buffer, n); }
  PortResult write(const std::uint8_t* buffer, std::size_t n) override {
    ++faults_.writes;
    if (faults_.failWriteNumber > 0 && faults_.writes >= faults_.failWriteNumber)
      return PortFailure{PortError::Other, EIO};
    const PortResult result = real_->write(buffer, n);
    if (!result)
      faults_.bytesWritten += n;
    if (faults_.writeReturnsAfter.count() > 0)
      std::this_thread::sleep_for(faults_.writeReturnsAfter);
    return result;
  }
  void purgeReceive() override { real_->purgeReceive(); }
  void purgeTransmit() override { real_->purgeTransmit(); }
  bool hasGone() const override { return real_->hasGone(); }

private:
  PortFaults& faults_;
  std::unique_ptr<SerialPort> real_;
  bool applied_ = false;
};

inline SerialPortFactory FaultyPorts(PortFaults& faults) {
  return [&faults] { return std::make_unique<FaultyPort>(faults); };
}

} // namespace quillon::testing
