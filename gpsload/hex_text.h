#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// `value` in lower-case hexadecimal, zero-padded to at least `digits` digits ("%0*x" as
// printf writes an unsigned 32-bit value: -3 comes out as fffffffd).
std::string HexText(std::uint32_t value, int digits);
inline std::string HexText(int value, int digits) {
  return HexText(static_cast<std::uint32_t>(value), digits);
}

} // namespace quillon
