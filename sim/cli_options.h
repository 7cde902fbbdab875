#pragma once

#include "sim/virtual_yardmark.h"

#include <string>
#include <vector>

namespace quillon::sim {

// What `yardmark-sim` was asked to do.
struct CliOptions {
  YardmarkOptions device;
  std::string linkPath; // --link: symbolic link to the pseudo-terminal's slave
  std::string portPath; // --port: serve on a real serial port instead
  bool help = false;
};

// Empty when the arguments (program name excluded) make sense; otherwise the complaint.
std::string ParseCommandLine(const std::vector<std::string>& arguments, CliOptions& options);

// The --help text: options, faults and the lines standard input takes.
std::string UsageText();

} // namespace quillon::sim
