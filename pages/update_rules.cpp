#include "pages/update_rules.h"

#include <charconv>

namespace quillon {

double leadingDecimal(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
    ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // Digits and a decimal point only: no exponent, hex, infinity or NaN in a version text.
  std::size_t end = at;
  bool point = false;
  while (end < text.size() &&
         ((text[end] >= '0' && text[end] <= '9') || (text[end] == '.' && !point))) {
    point = point || text[end] == '.';
    ++end;
  }
  double value = 0.0;
  const auto [last, error] =
      std::from_chars(text.data() + at, text.data() + end, value, std::chars_format::fixed);
  if (error != std::errc() || last == text.data() + at)
    return 0.0;
  return negative ? -value : value;
}

bool applicationVersionAccepted(std::string_view deviceVersion, std::string_view minimum) {
  return leadingDecimal(deviceVersion) >= leadingDecimal(minimum);
}

bool gpsUpdateNeeded(std::string_view deviceVersion, std::string_view target) {
  return deviceVersion != target;
}

std::optional<int> uploadPercent(std::uint32_t bytesSent, std::int32_t estimatedSize) {
  if (estimatedSize <= 0)
    return std::nullopt;
  const double percent = static_cast<double>(bytesSent) / estimatedSize * 100.0 + 0.5;
  return percent >= 100.0 ? 100 : static_cast<int>(percent);
}

} // namespace quillon
