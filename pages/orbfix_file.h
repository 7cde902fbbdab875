#pragma once

#include <istream>
#include <optional>
#include <string>

namespace quillon {

// Orbfix.dat: the five lines the wizard is given.
inline constexpr const char* kReleaseTag = "Release 4";

struct OrbfixValues {
  std::string releaseTag;
  std::string minAppVersion;
  std::string firmwarePath;
  std::string targetGpsVersion;
  std::string minBatteryLevel;
};

// The next line of the file without its line end. LF, CR LF, a CR alone and CR CR LF all end
// a line: the file may have been written on any system, or passed through a converter twice.
// A line that is not there reads as empty.
std::string readOrbfixLine(std::istream& in);

// The first line as read, less the UTF-8 byte-order mark an editor may have put before it.
std::string withoutByteOrderMark(std::string firstLine);

// A value the update's checks depend on that would switch a check off or could never match:
// which line, what it must be, and what it holds.
struct OrbfixProblem {
  int line;
  std::string rule;
  std::string value;
};

// The first unusable value of lines 2, 4 and 5, or none. The lowest application version must
// be a decimal number above 0 and below 100, the lowest battery level a whole number from 1 to
// 100 (blanks around either are harmless), and the GPS version the firmware installs a text
// the GPS chip can report: "$P" and at most 19 characters more.
std::optional<OrbfixProblem> findOrbfixProblem(const OrbfixValues& values);

} // namespace quillon
