#include "gpsload/loader_frame.h"

namespace quillon::loader {

void PutBigEndian16(std::uint8_t* out, std::uint16_t value) {
  out[0] = static_cast<std::uint8_t>(value >> 8);
  out[1] = static_cast<std::uint8_t>(value);
}

void PutBigEndian32(std::uint8_t* out, std::uint32_t value) {
  PutBigEndian16(out, static_cast<std::uint16_t>(value >> 16));
  PutBigEndian16(out + 2, static_cast<std::uint16_t>(value));
}

std::uint16_t FrameChecksum(const std::uint8_t* payload, std::size_t words) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < words; ++i)
    sum ^= static_cast<std::uint16_t>(payload[2 * i] << 8 | payload[2 * i + 1]);
  return sum;
}

std::size_t SealFrame(std::uint8_t* frame, std::size_t payloadBytes) {
  const std::size_t words = payloadBytes / 2;
  frame[0] = kFrameStart;
  PutBigEndian16(frame + 1, static_cast<std::uint16_t>(words));
  std::uint8_t* trailer = frame + kFrameHeaderSize + payloadBytes;
  PutBigEndian16(trailer, FrameChecksum(frame + kFrameHeaderSize, words));
  trailer[2] = kFrameEnd;
  return kFrameHeaderSize + payloadBytes + kFrameTrailerSize;
}

std::array<std::uint8_t, kEraseFrameSize> MakeEraseFrame(std::uint32_t start, std::uint32_t end) {
  std::array<std::uint8_t, kEraseFrameSize> frame{};
  PutBigEndian32(frame.data() + kFrameHeaderSize, start);
  PutBigEndian32(frame.data() + kFrameHeaderSize + 4, end);
  SealFrame(frame.data(), 8);
  return frame;
}

} // namespace quillon::loader
