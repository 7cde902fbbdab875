#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// `value` in lower-case hexadecimal, zero-padded to at least `digits` digits, as printf's
// "%0*lx" writes it.
std::string HexText(std::uint64_t value, int digits);
inline std::string HexText(std::uint32_t value, int digits) {
  return HexText(std::uint64_t{value}, digits);
}
// As an unsigned 32-bit value ("%0*x"): -3 comes out as fffffffd.
inline std::string HexText(int value, int digits) {
  return HexText(static_cast<std::uint32_t>(value), digits);
}

} // namespace quillon
