#include "pages/orbfix_file.h"

#include "link/device_protocol.h"
#include "pages/update_rules.h"

#include <algorithm>
#include <string_view>

namespace quillon {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr int kLowestBattery = 1;
constexpr int kHighestBattery = 100;
constexpr double kHighestAppVersion = 100.0;

// After a CR: an LF, or a CR and an LF, belong to the same line end; anything else begins the
// next line.
void finishLineEnd(std::istream& in) {
  if (in.peek() == '\n') {
    in.get();
  } else if (in.peek() == '\r') {
    in.get();
    if (in.peek() == '\n')
      in.get();
    else
      in.unget();
  }
}

std::string_view withoutBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Digits, optionally a point and more digits: "1", "1.2", "1.234".
bool isPlainDecimal(std::string_view text) {
  const auto point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
  const auto allDigits = [](std::string_view part) {
    return part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return !whole.empty() && allDigits(whole) && allDigits(fraction) &&
         (point == std::string_view::npos || !fraction.empty());
}

bool isUsableAppVersion(std::string_view text) {
  text = withoutBlanks(text);
  if (!isPlainDecimal(text))
    return false;
  const double value = leadingDecimal(text);
  return value > 0.0 && value < kHighestAppVersion;
}

bool isUsableBatteryLevel(std::string_view text) {
  text = withoutBlanks(text);
  // Three digits hold every level from 1 to 100; more are no battery level.
  if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), isDigit))
    return false;
  int value = 0;
  for (const char digit : text)
    value = value * 10 + (digit - '0');
  return value >= kLowestBattery && value <= kHighestBattery;
}

// Every GPS version the device reports begins "$P", in a reply of 21 bytes.
bool isUsableGpsVersion(std::string_view text) {
  return text.starts_with(device_protocol::kGpsVersionLead) &&
         text.size() <= device_protocol::kGpsVersionReplySize;
}

} // namespace

std::string readOrbfixLine(std::istream& in) {
  std::string line;
  for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
    if (c == '\n')
      break;
    if (c == '\r') {
      finishLineEnd(in);
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  return line;
}

std::string withoutByteOrderMark(std::string firstLine) {
  if (firstLine.starts_with(kByteOrderMark))
    firstLine.erase(0, kByteOrderMark.size());
  return firstLine;
}

std::optional<OrbfixProblem> findOrbfixProblem(const OrbfixValues& values) {
  if (!isUsableAppVersion(values.minAppVersion))
    return OrbfixProblem{2,
                         "the lowest application version must be a decimal number above 0 and "
                         "below 100",
                         values.minAppVersion};
  if (!isUsableGpsVersion(values.targetGpsVersion))
    return OrbfixProblem{4,
                         "the GPS version the firmware installs must begin \"$P\" and be at "
                         "most 21 characters",
                         values.targetGpsVersion};
  if (!isUsableBatteryLevel(values.minBatteryLevel))
    return OrbfixProblem{5, "the lowest battery level must be a whole number from 1 to 100",
                         values.minBatteryLevel};
  return std::nullopt;
}

} // namespace quillon
