#include "tests/loader/wire_image.h"

#include "gpsload/hex_text.h"

#include <array>
#include <cstdio>
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
    // 0xFF programs nothing: a cell that holds it (a pad) may still take data, and a pad over
    // data leaves the data.
    const auto [cell, fresh] = bytes_.emplace(address, frame[i]);
    if (fresh || frame[i] == 0xFF)
      continue;
    if (cell->second != 0xFF && cell->second != frame[i])
      return false;
    cell->second = frame[i];
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

namespace {

// srec_cat's hex dump of a file, byte by byte in ascending address order, without holding it:
// a line is "2D000000: 11 22    44 ...  #text", sixteen columns of three characters, a missing
// byte left blank.
class HexDumpStream {
public:
  explicit HexDumpStream(const std::string& path)
      : pipe_(::popen(("srec_cat '" + path + "' -o - -hex-dump 2>/dev/null").c_str(), "r")) {}
  ~HexDumpStream() { close(); }
  HexDumpStream(const HexDumpStream&) = delete;
  HexDumpStream& operator=(const HexDumpStream&) = delete;

  // The next byte; false at the end.
  bool next(std::uint64_t& address, std::uint8_t& value) {
    for (;;) {
      while (column_ < 16) {
        const std::size_t at = colon_ + 2 + 3 * column_++;
        if (at + 1 < line_.size() && line_[at] != ' ') {
          address = base_ + column_ - 1;
          value = static_cast<std::uint8_t>(std::stoul(line_.substr(at, 2), nullptr, 16));
          return true;
        }
      }
      if (!readLine())
        return false;
    }
  }

  // True when srec_cat read the whole file without complaint.
  bool close() {
    if (pipe_ != nullptr)
      ok_ = ::pclose(pipe_) == 0;
    pipe_ = nullptr;
    return ok_;
  }

private:
  bool readLine() {
    std::array<char, 256> text{};
    while (pipe_ != nullptr && std::fgets(text.data(), static_cast<int>(text.size()), pipe_)) {
      line_ = text.data();
      colon_ = line_.find(':');
      if (colon_ == std::string::npos)
        continue;
      base_ = std::stoull(line_.substr(0, colon_), nullptr, 16);
      line_ = line_.substr(0, line_.find('#'));
      column_ = 0;
      return true;
    }
    return false;
  }

  std::FILE* pipe_;
  std::string line_;
  std::size_t colon_ = 0;
  std::uint64_t base_ = 0;
  std::size_t column_ = 16;
  bool ok_ = false;
};

} // namespace

bool SrecCatDumpHolds(const std::string& dumpPath, const std::string& firmwarePath) {
  HexDumpStream held(dumpPath);
  HexDumpStream wanted(firmwarePath);
  std::uint64_t heldAt = 0;
  std::uint64_t wantedAt = 0;
  std::uint8_t heldValue = 0;
  std::uint8_t wantedValue = 0;
  bool moreHeld = held.next(heldAt, heldValue);
  bool moreWanted = wanted.next(wantedAt, wantedValue);
  bool same = true;
  while (same && (moreHeld || moreWanted)) {
    if (moreHeld && (!moreWanted || heldAt < wantedAt)) {
      same = heldValue == 0xFF; // beyond the firmware only a pad, which reads as erased
      moreHeld = held.next(heldAt, heldValue);
    } else if (moreWanted && (!moreHeld || wantedAt < heldAt)) {
      same = false; // a byte of the firmware missing from the flash
    } else {
      same = heldValue == wantedValue;
      moreHeld = held.next(heldAt, heldValue);
      moreWanted = wanted.next(wantedAt, wantedValue);
    }
  }
  const bool heldRead = held.close();
  const bool wantedRead = wanted.close();
  return same && heldRead && wantedRead;
}

} // namespace quillon::test
