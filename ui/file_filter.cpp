#include "ui/file_filter.h"

#include <algorithm>

namespace quillon {
namespace {

// Cuts the next '|'-terminated field off the front of rest; the last field runs to the end.
std::string_view nextField(std::string_view& rest) {
  const auto bar = rest.find('|');
  const std::string_view field = rest.substr(0, bar);
  rest = bar == std::string_view::npos ? std::string_view{} : rest.substr(bar + 1);
  return field;
}

} // namespace

std::string ConvertFileFilter(std::string_view filter) {
  std::string converted;
  std::string_view rest = filter;
  while (!rest.empty()) {
    const std::string_view description = nextField(rest);
    if (description.empty())
      break;
    std::string pattern(nextField(rest));
    if (pattern.empty())
      break;
    std::replace(pattern.begin(), pattern.end(), ';', ' ');
    if (!converted.empty())
      converted += ";;";
    converted.append(description).append(" (").append(pattern).append(")");
  }
  return converted;
}

} // namespace quillon
