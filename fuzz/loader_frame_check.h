#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon::fuzz {

// A frame to the boot loader taken apart: 5B, LEN (16-bit words, big-endian), payload, the
// big-endian exclusive or of the payload's words, 5D.
struct ParsedFrame {
  std::vector<std::uint8_t> payload;
};

// The frame, or why the bytes are not one.
std::optional<ParsedFrame> parseFrame(const std::vector<std::uint8_t>& bytes, std::string& why);

// The load address of each byte of the firmware image.
using ImageBytes = std::map<std::uint32_t, std::uint8_t>;

// Empty when an addressed record payload (32-bit address, then data) carries only what the
// image holds at those addresses; a last byte of 0xFF may be the pad of an odd chunk, which
// programs nothing wherever it lands. Otherwise says what is wrong.
std::string checkAddressedRecord(const ParsedFrame& frame, const ImageBytes& image);

} // namespace quillon::fuzz
