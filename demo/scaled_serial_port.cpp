#include "demo/scaled_serial_port.h"

#include <chrono>

namespace quillon::demo {

std::size_t ScaledSerialPort::read(std::uint8_t* buffer, std::size_t n) {
  if (heard_)
    return inner_->read(buffer, n);
  using Steady = std::chrono::steady_clock;
  const auto firstByteBy =
      Steady::now() + std::chrono::duration_cast<Steady::duration>(
                          std::chrono::duration<double, std::milli>(
                              static_cast<double>(kReadTotal.forBytes(n).count()) * scale_));
  std::size_t got = 0;
  while (got < n) {
    if (inner_->read(buffer + got, 1) == 1) {
      ++got;
      continue;
    }
    // A one-byte read that got nothing waited longer than the gap that ends a reply.
    if (got > 0 || inner_->hasGone() || Steady::now() >= firstByteBy)
      break;
  }
  heard_ = got > 0;
  return got;
}

SerialPortFactory ScaledPortFactory(double scale) {
  if (scale >= 1.0)
    return MakePlatformSerialPort;
  return [scale]() -> std::unique_ptr<SerialPort> {
    return std::make_unique<ScaledSerialPort>(MakePlatformSerialPort(), scale);
  };
}

} // namespace quillon::demo
