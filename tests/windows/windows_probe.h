#pragma once

#include <optional>
#include <string>

// Looks at a COM port and the system from outside the serial backend, with the plain Win32
// calls, so the tests see what the backend left behind rather than what it says it did.
namespace quillon::wintest {

struct LineSettings {
  unsigned long baud = 0;
  int byteSize = 0;
  int parity = -1;
  int stopBits = -1;
  bool binary = false;
  bool ctsFlow = true;
  bool dsrFlow = true;
  bool xonXoffOut = true;
  bool xonXoffIn = true;
  bool nullDiscard = true;
};

// The line settings of `port` as a fresh handle reads them; nothing when it cannot be opened.
std::optional<LineSettings> ReadLineSettings(const std::string& port);

// True when ntdll is wine's: it exports wine_get_version.
bool RunningUnderWine();

} // namespace quillon::wintest
