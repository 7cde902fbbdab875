#include "demo/scaled_serial_port.h"

#include <chrono>

namespace quillon::demo {

ReadResult ScaledSerialPort::read(std::uint8_t* buffer, std::size_t n) {
  if (heard_)
    return inner_->read(buffer, n);
  using Steady = std::chrono::steady_clock;
  const auto firstByteBy =
      Steady::now() + std::chrono::duration_cast<Steady::duration>(
                          std::chrono::duration<double, std::milli>(
                              static_cast<double>(kReadTotal.forBytes(n).count()) * scale_));
  ReadResult got;
  while (got.count < n) {
    const ReadResult one = inner_->read(buffer + got.count, 1);
    if (one.count == 1) {
      ++got.count;
      continue;
    }
    // A one-byte read that got nothing waited longer than the gap that ends a reply.
    if (one.failure) {
      got.failure = one.failure;
      break;
    }
    if (got.count > 0 || Steady::now() >= firstByteBy)
      break;
  }
  heard_ = got.count > 0;
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
