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
  // program a byte already programmed with another value: flash cannot take that back. 0xFF
  // programs nothing, so a pad of 0xFF and the data later programmed over it go together.
  bool addRecordFrame(const std::vector<std::uint8_t>& frame);
  // The bytes from `base` up to the highest address written (or `length` bytes), gaps as 0.
  std::vector<std::uint8_t> image(std::uint32_t base, std::size_t length = SIZE_MAX) const;

private:
  std::map<std::uint32_t, std::uint8_t> bytes_;
};

// srec_cat's own conversion of an S-record file to binary, starting at `base`; empty when the
// tool failed.
std::vector<std::uint8_t> SrecCatBinary(const std::string& srecordPath, std::uint32_t base);

// srec_cat's judgement of a flash dump against a firmware file: the dump holds every byte of
// the firmware at its address, and anything else it holds reads as erased (0xFF, the pad of a
// half-filled word). Sparse, so an image at the top of the address space costs no memory.
bool SrecCatDumpHolds(const std::string& dumpPath, const std::string& firmwarePath);

} // namespace quillon::test
