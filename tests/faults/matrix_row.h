#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/device_link.h"
#include "sim/virtual_yardmark.h"
#include "tests/faults/wizard_rig.h"

namespace quillon::testing {

// One row of the fault matrix: what goes wrong, and how the wizard must end.
struct MatrixRow {
  std::string name; // the test's name: letters and digits only
  std::vector<std::string> faults;
  // Empty: the update must end verified, the flash holding exactly the firmware file's data.
  // Otherwise the caption of the one notice the golfer must see.
  std::string notice;
  // The log line that says why: its kind and a part of its text with the notice number.
  // An empty kind: the default level keeps no line for this ending (Info lines only).
  std::string logKind;
  std::string logText;
  std::optional<sim::DeviceState> deviceAfter;
  std::optional<LinkMode> linkAfter;
  std::function<void(sim::YardmarkOptions&)> device;
  std::function<void(WizardRig&)> arrange;
  // Press F9 on step 1 so that Info lines (E:7, E:9, E:13) reach the log.
  bool descriptive = false;
  double boundSeconds = 30.0;
  // A second honest ending, for a fault that strikes while the host is still writing: which
  // of the two the golfer sees depends on how far the host's writes got.
  struct Ending {
    std::string notice;
    std::string logText;
  };
  std::optional<Ending> orEnding;
  // A plain notice the golfer sees at the start of a run that goes on (no log can be written).
  std::string reminder;
  // The golfer's next run, on the Yardmark as this run left it, after `beforeRunningAgain`
  // (plug the cable back in, switch the Yardmark off and on). It must end verified, its log
  // holding an Error line with `againLogText`.
  std::function<void(WizardRig&)> beforeRunningAgain;
  std::string againLogText;
  // The first cell of the line of docs/notices.md's Orbfix.dat table this row shows; the
  // table must give the row's notice and log text.
  std::string documentedAs;
};

// No message box holds more than this many characters, whatever a file named in it holds.
inline constexpr std::size_t kLongestNotice = 700;

// Runs the row's whole wizard (twice, for a row that runs again) and checks its ending, state
// and time, and that every fault it asked for struck.
void RunMatrixRow(const MatrixRow& row);

struct MatrixRowName {
  std::string operator()(const ::testing::TestParamInfo<MatrixRow>& info) const {
    return info.param.name;
  }
};

inline void PrintTo(const MatrixRow& row, std::ostream* out) { *out << row.name; }

} // namespace quillon::testing
