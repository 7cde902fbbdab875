#include "fuzz/replay_serial_port.h"

#include "link/device_protocol.h"

#include <algorithm>
#include <cstring>

namespace quillon::fuzz {

std::vector<std::uint8_t> ReplayScript::nextReply(std::size_t room) {
  ++reads_;
  lastRead_.clear();
  if (nextReply_ >= replies_.size())
    return lastRead_;
  const std::size_t length = replies_[nextReply_++];
  const std::size_t available = std::min(length, replies_.size() - nextReply_);
  const auto from = replies_.begin() + static_cast<std::ptrdiff_t>(nextReply_);
  lastRead_.assign(from, from + static_cast<std::ptrdiff_t>(std::min(available, room)));
  nextReply_ += available;
  return lastRead_;
}

PortResult ReplaySerialPort::open(const std::string& path) {
  open_ = !path.empty() && script_.nextFault() == 0;
  gone_ = false;
  return failureIf(!open_);
}

PortResult ReplaySerialPort::applyLineSettings(int baud) {
  return failureIf(!device_protocol::IsLineSpeed(baud) || script_.nextFault() != 0);
}

ReadResult ReplaySerialPort::read(std::uint8_t* buffer, std::size_t n) {
  const PortFailure gone{PortError::Gone, 0};
  if (!open_)
    return {0, PortFailure{PortError::Other, 0}};
  if (gone_)
    return {0, gone};
  const std::vector<std::uint8_t> reply = script_.nextReply(n);
  if (!reply.empty())
    std::memcpy(buffer, reply.data(), reply.size());
  // A read that brings nothing is where a real port notices a pulled cable.
  if (reply.empty() && hasGone())
    return {0, gone};
  return {reply.size(), {}};
}

PortResult ReplaySerialPort::write(const std::uint8_t* /*buffer*/, std::size_t /*n*/) {
  switch (script_.nextFault()) {
  case 1:
    return PortFailure{PortError::Other, 0};
  case 2:
    return PortFailure{PortError::TimedOut, 0};
  case 3:
    return PortFailure{PortError::NoResources, 0};
  default:
    return std::nullopt;
  }
}

bool ReplaySerialPort::hasGone() const {
  // Once the cable is out it stays out until the port is closed.
  if (!gone_ && open_)
    gone_ = script_.nextFault() != 0;
  return gone_;
}

} // namespace quillon::fuzz
