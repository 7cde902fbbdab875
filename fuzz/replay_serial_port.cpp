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

bool ReplaySerialPort::open(const std::string& path) {
  open_ = !path.empty() && script_.nextFault() == 0;
  gone_ = false;
  return open_;
}

bool ReplaySerialPort::applyLineSettings(int baud) {
  return device_protocol::IsLineSpeed(baud) && script_.nextFault() == 0;
}

std::size_t ReplaySerialPort::read(std::uint8_t* buffer, std::size_t n) {
  if (!open_ || gone_)
    return 0;
  const std::vector<std::uint8_t> reply = script_.nextReply(n);
  if (!reply.empty())
    std::memcpy(buffer, reply.data(), reply.size());
  return reply.size();
}

StatusCode ReplaySerialPort::write(const std::uint8_t* /*buffer*/, std::size_t /*n*/) {
  switch (script_.nextFault()) {
  case 0:
    return KV7SUCCESS;
  case 1:
    return KV7GETOVERLAPPEDRESULTERROR;
  case 2:
    return KV7WAITFORSINGLEOBJECTERROR;
  case 3:
    return KV7EVENTNOTCREATED;
  default:
    return KV7SUCCESS;
  }
}

bool ReplaySerialPort::hasGone() const {
  // Once the cable is out it stays out until the port is closed.
  if (!gone_ && open_)
    gone_ = script_.nextFault() != 0;
  return gone_;
}

} // namespace quillon::fuzz
