#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::fuzz {

// Takes a fuzz input apart front to back. A spent input yields zeros and empty parts, so
// every input, however short, is a complete run.
class InputReader {
public:
  InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

  // A value in 0..limit (inclusive), from as few bytes as it needs.
  std::uint32_t upTo(std::uint32_t limit) {
    std::uint32_t value = 0;
    for (std::uint32_t range = limit; range != 0; range >>= 8)
      value = value << 8 | byte();
    return limit == UINT32_MAX ? value : value % (limit + 1);
  }

  std::vector<std::uint8_t> bytes(std::size_t count) {
    const std::size_t n = std::min(count, size_ - at_);
    std::vector<std::uint8_t> part(data_ + at_, data_ + at_ + n);
    at_ += n;
    return part;
  }

  std::string text(std::size_t count) {
    const std::vector<std::uint8_t> part = bytes(count);
    return std::string(part.begin(), part.end());
  }

  std::vector<std::uint8_t> rest() { return bytes(size_ - at_); }

private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

} // namespace quillon::fuzz
