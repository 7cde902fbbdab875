#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// Orbfix.dat: the five lines the wizard is given.
inline constexpr const char* kReleaseTag = "Release 4";

// The release's Orbfix.dat is five short lines. These bound what a file put in its place can
// cost (a device, a download that never ended, a log renamed by mistake): no more than this
// many bytes are ever read, and no line longer than this is taken as a value.
inline constexpr std::uint64_t kOrbfixMaxBytes = 64 * 1024;
inline constexpr std::size_t kOrbfixMaxLine = 4096;

struct OrbfixValues {
  std::string releaseTag;
  std::string minAppVersion;
  std::string firmwarePath;
  std::string targetGpsVersion;
  std::string minBatteryLevel;
};

// How far the file could be read.
enum class OrbfixAccess {
  Read,
  CannotOpen,     // not there, or not ours to read
  NotRegularFile, // a folder, a pipe or a device: opened without waiting, and let go
  CannotRead,     // opened, but the system failed the read
};

// What the file holds: at most kOrbfixMaxBytes + 1 of its bytes (one more than may be there,
// so a file that grew after it was measured is still seen to be too long), and its length
// when it was opened. `path` is the program's UTF-8 path.
struct OrbfixContent {
  OrbfixAccess access = OrbfixAccess::CannotOpen;
  std::uint64_t length = 0;
  std::string bytes;
};
OrbfixContent readOrbfixContent(const std::string& path);

// The next line of the file without its line end. LF, CR LF, a CR alone and CR CR LF all end
// a line: the file may have been written on any system, or passed through a converter twice.
// A line that is not there reads as empty.
std::string readOrbfixLine(std::istream& in);

// The five values of a file's text: lines 1 to 5, later lines ignored, the UTF-8 byte-order
// mark an editor may have put before line 1 left out.
OrbfixValues orbfixValuesOf(std::string_view text);

// A file or a value the update cannot go on with: which line (0 for the file as a whole),
// what it must be, and what it holds.
struct OrbfixProblem {
  int line;
  std::string rule;
  std::string value;
};

// What is wrong, for the log and the notice: "the lowest battery level must be a whole number
// from 1 to 100, not "abc"", the value made visible (see visibleText) and quoted at most as
// long as a notice quotes; for the file as a whole, unquoted: "the file must be UTF-8 text,
// not UTF-16".
std::string describeOrbfixProblem(const OrbfixProblem& problem);

// Damage that makes the file no Orbfix.dat at all, found before any value is looked at, in
// this order: UTF-16 text; in lines 1 to 5 a line longer than kOrbfixMaxLine, a NUL or other
// control character, or bytes that are not UTF-8; a file longer than kOrbfixMaxBytes; an
// empty first line.
std::optional<OrbfixProblem> findOrbfixDamage(const OrbfixContent& content,
                                              const OrbfixValues& values);

// The first unusable value of lines 2, 4 and 5, or none. The lowest application version must
// be a decimal number above 0 and below 100, the lowest battery level a whole number from 1 to
// 100 (blanks around either are harmless), and the GPS version the firmware installs a text
// the GPS chip can report: "$P" and at most 19 characters more.
std::optional<OrbfixProblem> findOrbfixProblem(const OrbfixValues& values);

} // namespace quillon
