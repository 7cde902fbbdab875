#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quillon::test {

// "5b 00 04" back into bytes.
std::vector<std::uint8_t> ParseHexBytes(const std::string& text);

// The flash as a boot loader would build it from addressed record frames.
class WireImage {
public:
  // False when the frame is malformed (markers, LEN, length or checksum wrong) or would
  // program a byte already programmed with another value: flash cannot take that back.
  bool addRecordFrame(const std::vector<std::uint8_t>& frame);
  // The bytes from `base` up to the highest address written (or `length` bytes), gaps as 0.
  std::vector<std::uint8_t> image(std::uint32_t base, std::size_t length = SIZE_MAX) const;

private:
  std::map<std::uint32_t, std::uint8_t> bytes_;
};

// srec_cat's own conversion of an S-record file to binary, starting at `base`; empty when the
// tool failed.
std::vector<std::uint8_t> SrecCatBinary(const std::string& srecordPath, std::uint32_t base);

} // namespace quillon::test
