#pragma once

#include <string>
#include <vector>

namespace quillon::demo {

// What quillon-demo was asked to do.
struct DemoOptions {
  bool headless = false;
  double timeScale = 1.0;         // every wait of the program and of the virtual Yardmark
  std::string screenshotDir;      // a PNG of every page and every notice, when set
  std::string workDir;            // Orbfix.dat, firmware, log and flash dump; a temp dir if empty
  std::string portPath;           // a real device instead of the virtual Yardmark
  std::string answers;            // scripted answers, "step5=no,no,yes;step1=no"
  std::vector<std::string> simOptions; // handed to the virtual Yardmark as they are
  bool help = false;
  bool version = false;
};

// The demo's exit status.
enum class DemoExit : int {
  Verified = 0,    // step 10 read back the version the firmware installs
  NotVerified = 1, // the wizard ended on a notice, a cancel or a different version
  BadUsage = 2,    // the command line made no sense
  NoSetUp = 3,     // the working folder or the virtual Yardmark could not be set up
};

// Empty when the arguments (program name excluded) make sense; otherwise the complaint.
std::string ParseDemoOptions(const std::vector<std::string>& arguments, DemoOptions& options);

std::string DemoUsage();

} // namespace quillon::demo
