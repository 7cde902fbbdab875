#include "pages/orbfix_file.h"

#include "gpsload/firmware_file.h"
#include "link/device_protocol.h"
#include "pages/quoted_text.h"
#include "pages/update_rules.h"
#include "pages/visible_text.h"

#include <algorithm>
#include <array>
#include <sstream>

namespace quillon {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// What Windows' editors put before UTF-16 text, little- and big-endian.
constexpr std::array<std::string_view, 2> kUtf16Marks{"\xFF\xFE", "\xFE\xFF"};

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

OrbfixContent readOrbfixContent(const std::string& path) {
  OrbfixContent content;
  FirmwareFile file;
  switch (file.open(path)) {
  case FirmwareFile::Opened::CannotOpen:
    content.access = OrbfixAccess::CannotOpen;
    return content;
  case FirmwareFile::Opened::NotRegularFile:
    content.access = OrbfixAccess::NotRegularFile;
    return content;
  case FirmwareFile::Opened::Yes:
    break;
  }
  content.length = file.length();
  content.bytes.resize(static_cast<std::size_t>(std::min(content.length, kOrbfixMaxBytes) + 1));
  std::size_t got = 0;
  while (got < content.bytes.size()) {
    const std::ptrdiff_t read =
        file.readAt(got, content.bytes.data() + got, content.bytes.size() - got);
    if (read < 0) {
      content.access = OrbfixAccess::CannotRead;
      content.bytes.clear();
      return content;
    }
    if (read == 0)
      break;
    got += static_cast<std::size_t>(read);
  }
  content.bytes.resize(got);
  content.access = OrbfixAccess::Read;
  return content;
}

OrbfixValues orbfixValuesOf(std::string_view text) {
  std::istringstream in{std::string(text)};
  OrbfixValues values;
  for (std::string* value : {&values.releaseTag, &values.minAppVersion, &values.firmwarePath,
                             &values.targetGpsVersion, &values.minBatteryLevel})
    *value = readOrbfixLine(in);
  if (values.releaseTag.starts_with(kByteOrderMark))
    values.releaseTag.erase(0, kByteOrderMark.size());
  return values;
}

std::string describeOrbfixProblem(const OrbfixProblem& problem) {
  if (problem.line == 0)
    return problem.rule + ", not " + problem.value;
  return problem.rule + ", not \"" + quotedInNotice(visibleText(problem.value)) + "\"";
}

std::optional<OrbfixProblem> findOrbfixDamage(const OrbfixContent& content,
                                              const OrbfixValues& values) {
  const std::string_view bytes = content.bytes;
  if (std::any_of(kUtf16Marks.begin(), kUtf16Marks.end(),
                  [bytes](std::string_view mark) { return bytes.starts_with(mark); }))
    return OrbfixProblem{0, "the file must be UTF-8 text", "UTF-16"};
  // The line that is wrong says most; the length of the whole file comes after.
  int number = 0;
  for (const std::string* value : {&values.releaseTag, &values.minAppVersion, &values.firmwarePath,
                                   &values.targetGpsVersion, &values.minBatteryLevel}) {
    ++number;
    if (value->size() > kOrbfixMaxLine)
      return OrbfixProblem{
          number, "a line must be at most " + std::to_string(kOrbfixMaxLine) + " bytes", *value};
    if (std::any_of(value->begin(), value->end(), isControlCharacter))
      return OrbfixProblem{number, "a line must hold no NUL or other control character", *value};
    if (!isUtf8(*value))
      return OrbfixProblem{number, "a line must be UTF-8 text", *value};
  }
  const std::uint64_t length = std::max<std::uint64_t>(content.length, bytes.size());
  if (length > kOrbfixMaxBytes)
    return OrbfixProblem{0,
                         "the file must be at most " + std::to_string(kOrbfixMaxBytes) + " bytes",
                         std::to_string(length) + " bytes"};
  if (values.releaseTag.empty())
    return OrbfixProblem{1, "the first line must name the release", values.releaseTag};
  return std::nullopt;
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
