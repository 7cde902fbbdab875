#include "tests/faults/matrix_row.h"

#include "pages/device_work.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace quillon::testing {

namespace {

std::string logText(const RunOutcome& outcome) {
  std::string text;
  for (const auto& line : outcome.log)
    text += "\n  " + line.kind + ": " + line.message;
  return text;
}

// A run the golfer sees through to step 11: no notice but the reminders, and the flash holds
// exactly the firmware file's data.
void expectVerified(WizardRig& wizard, const RunOutcome& outcome,
                    const std::vector<std::string>& reminders, const std::string& story) {
  EXPECT_EQ(outcome.noticeCaptions, reminders) << story;
  EXPECT_EQ(outcome.shownSteps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})) << story;
  EXPECT_TRUE(wizard.flashHolds(wizard.rig.firmware))
      << "flash differs from the firmware file; the run's log:" << logText(outcome);
}

void expectLogged(const RunOutcome& outcome, const std::string& kind, const std::string& text) {
  EXPECT_TRUE(outcome.logHas(kind, text))
      << "no " << kind << " line holding \"" << text << "\" in " << logText(outcome);
}

} // namespace

void RunMatrixRow(const MatrixRow& row) {
  const auto start = std::chrono::steady_clock::now();
  sim::YardmarkOptions options;
  options.faults = row.faults;
  if (row.device)
    row.device(options);
  WizardRig wizard(options);
  if (row.arrange)
    row.arrange(wizard);
  const RunOutcome outcome = wizard.run(row.descriptive);
  const std::string story = ::testing::PrintToString(wizard.rig.events.events);

  EXPECT_LE(outcome.longestNotice, kLongestNotice) << story;
  // However the run ended, the computer may sleep again; a load held it back once.
  EXPECT_FALSE(deviceWork().holding()) << story;
  if (row.notice.empty()) {
    EXPECT_TRUE(wizard.rig.events.contains("power held")) << story;
  }
  // A row whose fault was never played would pass for the wrong reason.
  const std::vector<std::string> struck = wizard.rig.device->struckFaults();
  std::vector<std::string> neverStruck;
  for (const auto& fault : row.faults)
    if (std::find(struck.begin(), struck.end(), fault) == struck.end())
      neverStruck.push_back(fault);
  EXPECT_TRUE(neverStruck.empty())
      << "faults that never struck: " << ::testing::PrintToString(neverStruck);
  EXPECT_FALSE(wizard.unplugPending()) << "the cable was never pulled";
  if (row.notice.empty()) {
    expectVerified(wizard, outcome,
                   row.reminder.empty() ? std::vector<std::string>{}
                                        : std::vector<std::string>{row.reminder},
                   story);
    if (!row.logKind.empty())
      expectLogged(outcome, row.logKind, row.logText);
  } else {
    // With F9 the golfer first sees the reminder that Descriptive Logging is on.
    const auto captions = [&row](const std::string& notice) {
      return row.descriptive ? std::vector<std::string>{"NOTICE", notice}
                             : std::vector<std::string>{notice};
    };
    MatrixRow::Ending ending{row.notice, row.logText};
    if (row.orEnding && outcome.noticeCaptions == captions(row.orEnding->notice))
      ending = *row.orEnding;
    EXPECT_EQ(outcome.noticeCaptions, captions(ending.notice)) << story;
    EXPECT_FALSE(outcome.reachedFinish()) << "a failed update must not end on the Finish page";
    if (!row.logKind.empty())
      expectLogged(outcome, row.logKind, ending.logText);
    if (!row.portLine.empty())
      expectLogged(outcome, "Error", row.portLine);
  }
  if (row.deviceAfter) {
    EXPECT_EQ(wizard.rig.device->state(), *row.deviceAfter);
  }
  if (row.linkAfter) {
    EXPECT_EQ(wizard.rig.link.mode(), *row.linkAfter);
  }
  if (row.beforeRunningAgain) {
    row.beforeRunningAgain(wizard);
    const RunOutcome again = wizard.run(false);
    expectVerified(wizard, again, {}, ::testing::PrintToString(wizard.rig.events.events));
    expectLogged(again, "Error", row.againLogText);
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took.count(), row.boundSeconds) << "the row must end within its bound";
}

} // namespace quillon::testing
