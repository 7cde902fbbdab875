#pragma once

#include <istream>
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

// The next line of the file without its line end, CR LF and LF alike (the file may have been
// written on either kind of system). A line that is not there reads as empty.
std::string readOrbfixLine(std::istream& in);

} // namespace quillon
