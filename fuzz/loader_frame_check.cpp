#include "fuzz/loader_frame_check.h"

namespace quillon::fuzz {
namespace {

constexpr std::uint8_t kFrameStart = 0x5B;
constexpr std::uint8_t kFrameEnd = 0x5D;
constexpr std::size_t kOverhead = 6; // 5B, LEN, checksum, 5D

unsigned bigEndian16(const std::uint8_t* at) {
  return static_cast<unsigned>(at[0] << 8 | at[1]);
}

} // namespace

std::optional<ParsedFrame> parseFrame(const std::vector<std::uint8_t>& bytes, std::string& why) {
  if (bytes.size() < kOverhead) {
    why = "shorter than an empty frame";
    return std::nullopt;
  }
  if (bytes.front() != kFrameStart || bytes.back() != kFrameEnd) {
    why = "no 5B ... 5D around it";
    return std::nullopt;
  }
  const std::size_t words = bigEndian16(&bytes[1]);
  if (bytes.size() != kOverhead + 2 * words) {
    why = "LEN disagrees with the frame's length";
    return std::nullopt;
  }
  unsigned checksum = 0;
  for (std::size_t i = 0; i < words; ++i)
    checksum ^= bigEndian16(&bytes[3 + 2 * i]);
  if (checksum != bigEndian16(&bytes[3 + 2 * words])) {
    why = "wrong checksum";
    return std::nullopt;
  }
  ParsedFrame frame;
  frame.payload.assign(bytes.begin() + 3,
                       bytes.begin() + static_cast<std::ptrdiff_t>(3 + 2 * words));
  return frame;
}

std::string checkAddressedRecord(const ParsedFrame& frame, const ImageBytes& image) {
  const auto& payload = frame.payload;
  if (payload.size() < 6)
    return "a record frame without data";
  const std::uint32_t address = static_cast<std::uint32_t>(payload[0] << 24 | payload[1] << 16 |
                                                           payload[2] << 8 | payload[3]);
  const std::size_t dataBytes = payload.size() - 4;
  for (std::size_t i = 0; i < dataBytes; ++i) {
    const std::uint64_t at = std::uint64_t{address} + i;
    const std::uint8_t value = payload[4 + i];
    // The last byte may be the pad of a half-filled word: 0xFF, which programs nothing, in
    // the image or past it.
    if (i + 1 == dataBytes && value == 0xFF)
      continue;
    const auto held = at <= UINT32_MAX ? image.find(static_cast<std::uint32_t>(at)) : image.end();
    if (held == image.end())
      return "a record carries a byte the image does not hold";
    if (held->second != value)
      return "a record byte differs from the image at its address";
  }
  return {};
}

} // namespace quillon::fuzz
