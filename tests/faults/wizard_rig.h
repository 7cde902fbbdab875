#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/pages/device_rig.h"

namespace quillon::testing {

// What a golfer saw and what the program wrote, after one whole run of the wizard.
struct RunOutcome {
  std::vector<int> shownSteps;
  std::vector<std::string> noticeCaptions; // every message box, page or main dialog, in order
  std::size_t longestNotice = 0;           // characters of the longest message-box text
  std::vector<LogLine> log;
  bool reachedFinish() const; // step 11 is shown only after a verified update
  bool logHas(const std::string& kind, const std::string& text) const;
};

// The whole wizard (driver, scripted user on the plain pages, the two real device pages) on
// a virtual Yardmark behind a pseudo-terminal. The golfer answers every plain page forward,
// and between steps 7 and 8 switches the Yardmark off and on.
class WizardRig {
public:
  explicit WizardRig(sim::YardmarkOptions options = {}, int firmwareRecords = 250);

  std::filesystem::path orbfixPath() const;
  void writeOrbfix(const std::string& releaseTag, const std::string& firmwarePath);
  // Puts another Yardmark on the line (a different firmware file, say), found like the first.
  void replaceDevice(sim::YardmarkOptions options);
  // Pulls the cable when `step` shows `status` for the first time.
  void unplugAt(int step, std::string status);
  // Stops the program by `cause` once step 6's progress bar reaches `percent`, as far as a
  // test can: the line the program's handler writes, then the line goes dead (the cable is
  // pulled) as it does when the process ends.
  void interruptAtProgress(int percent, std::string cause);
  // True while an unplugAt() or an interruptAtProgress() is still waiting.
  bool unplugPending() const { return unplugStep_ != 0 || !interruption_.empty(); }
  // The golfer plugs a pulled cable back in; the host finds the device where it looked before.
  void plugBackIn();

  // Runs the wizard; `descriptive` presses F9 on step 1 so that Info lines reach the log.
  // Each run is a new start of the program on the Yardmark as the last run left it; its
  // outcome holds that run's steps, notices and log lines alone.
  RunOutcome run(bool descriptive);

  // The device's flash against `firmware`, as srec_cat reads both (a 0xFF pad is erased).
  bool flashHolds(const std::filesystem::path& firmware) const;

  DeviceRig rig;
  RecordingPowerHold powerHold{rig.events};
  // Where the driver writes Orbfix.log; run() reads it back from here.
  std::filesystem::path logDirectory = rig.capture.directory();
  RecordingDialog dialog{rig.events};
  ScriptedRunner runner{rig.events};
  // What the golfer does between steps 7 and 8.
  std::function<void()> powerCycle = [this] { rig.powerCycle(); };

private:
  void onPump();

  int unplugStep_ = 0;
  std::string unplugStatus_;
  int interruptPercent_ = 0;
  std::string interruption_;
};

} // namespace quillon::testing
