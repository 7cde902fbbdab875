#include "gpsload/hex_text.h"

namespace quillon {

std::string HexText(std::uint64_t value, int digits) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xFU]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(text.size()) < digits)
    text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  return text;
}

} // namespace quillon
