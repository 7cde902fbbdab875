#include "tests/loader/wire_image.h"

#include "gpsload/hex_text.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quillon::test {

std::vector<std::uint8_t> ParseHexBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  std::istringstream in(text);
  std::string word;
  while (in >> word)
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
  return bytes;
}

bool WireImage::addRecordFrame(const std::vector<std::uint8_t>& frame) {
  if (frame.size() < 10 || frame.front() != 0x5B || frame.back() != 0x5D)
    return false;
  const std::size_t words = std::size_t{frame[1]} << 8 | frame[2];
  if (frame.size() != 2 * words + 6)
    return false;
  unsigned sum = 0;
  for (std::size_t i = 0; i < words; ++i)
    sum ^= unsigned{frame[3 + 2 * i]} << 8 | frame[4 + 2 * i];
  if (sum != (unsigned{frame[frame.size() - 3]} << 8 | frame[frame.size() - 2]))
    return false;
  std::uint32_t address = std::uint32_t{frame[3]} << 24 | std::uint32_t{frame[4]} << 16 |
                          std::uint32_t{frame[5]} << 8 | frame[6];
  for (std::size_t i = 7; i < frame.size() - 3; ++i, ++address) {
    const auto [cell, fresh] = bytes_.emplace(address, frame[i]);
    if (!fresh && cell->second != frame[i])
      return false;
  }
  return true;
}

std::vector<std::uint8_t> WireImage::image(std::uint32_t base, std::size_t length) const {
  std::vector<std::uint8_t> out;
  if (bytes_.empty())
    return out;
  const std::size_t extent = bytes_.rbegin()->first - base + 1;
  out.assign(std::min(extent, length), 0);
  for (const auto& [address, byte] : bytes_)
    if (address >= base && address - base < out.size())
      out[address - base] = byte;
  return out;
}

std::vector<std::uint8_t> SrecCatBinary(const std::string& srecordPath, std::uint32_t base) {
  const std::string out = srecordPath + ".bin";
  const std::string command =
      "srec_cat '" + srecordPath + "' -offset -0x" + HexText(base, 8) + " -o '" + out + "' -binary";
  if (std::system(command.c_str()) != 0)
    return {};
  std::ifstream in(out, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace quillon::test
