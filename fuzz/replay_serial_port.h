#pragma once

#include "link/serial_port.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::fuzz {

// Two streams of fuzz input that every replay port of one run shares.
//
// Replies: each read takes the next packet, a length byte and that many bytes, and hands
// over as many of them as the read asked for (the rest of the packet is lost, as bytes are
// when a read ends); a length of 0 is a read that stays silent. When the replies are spent,
// every read is silent.
//
// Faults: every call that can fail on a real port (open, the two settings calls, a write, the
// hang-up test, which a read that brings nothing also makes) takes the next fault byte, if any
// is left: 0 means no fault; for a write, 1, 2 and 3 fail it for an unnamed reason, for its
// time-out and for want of resources; for the others any value but 0 is the failure.
class ReplayScript {
public:
  ReplayScript(std::vector<std::uint8_t> faults, std::vector<std::uint8_t> replies)
      : faults_(std::move(faults)), replies_(std::move(replies)) {}

  std::uint8_t nextFault() { return nextFault_ < faults_.size() ? faults_[nextFault_++] : 0; }
  // The bytes of the next packet that fit `room`.
  std::vector<std::uint8_t> nextReply(std::size_t room);

  // What the last read handed over, and how many reads there were.
  const std::vector<std::uint8_t>& lastRead() const { return lastRead_; }
  std::size_t reads() const { return reads_; }

private:
  std::vector<std::uint8_t> faults_;
  std::vector<std::uint8_t> replies_;
  std::size_t nextFault_ = 0;
  std::size_t nextReply_ = 0;
  std::vector<std::uint8_t> lastRead_;
  std::size_t reads_ = 0;
};

// A SerialPort that plays a ReplayScript: the device link parses whatever it brings.
class ReplaySerialPort final : public SerialPort {
public:
  explicit ReplaySerialPort(ReplayScript& script) : script_(script) {}

  PortResult open(const std::string& path) override;
  PortResult applyTimeouts() override { return failureIf(script_.nextFault() != 0); }
  PortResult applyLineSettings(int baud) override;
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  ReadResult read(std::uint8_t* buffer, std::size_t n) override;
  PortResult write(const std::uint8_t* buffer, std::size_t n) override;
  void purgeReceive() override {}
  void purgeTransmit() override {}
  bool hasGone() const override;

private:
  static PortResult failureIf(bool fault) {
    return fault ? PortResult(PortFailure{PortError::Other, 0}) : std::nullopt;
  }

  ReplayScript& script_;
  bool open_ = false;
  mutable bool gone_ = false;
};

} // namespace quillon::fuzz
