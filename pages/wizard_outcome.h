#pragma once

namespace quillon {

// How a wizard run ended, as the program reports it to whoever started it: a shop or an
// administrator running the update from a script must tell a verified update from one the
// golfer cancelled and from one that failed. The golfer learns the same from the pages.
enum class WizardOutcome {
  // Step 10 read back the GPS version the firmware installs; or step 6 found it already
  // there and said so ("NOTICE E:13"): the Yardmark is up to date either way.
  Verified,
  // The golfer ended the wizard: Cancel, NO or Escape on a page, before any notice.
  Cancelled,
  // A numbered notice ended the wizard; its number is in Orbfix.log.
  Failed,
};

// The process exit status of each outcome, the same on Linux and on Windows. 2 is the Linux
// program's answer to a command line that makes no sense.
inline constexpr int kExitVerified = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitCancelled = 3;

constexpr int ExitStatusOf(WizardOutcome outcome) {
  switch (outcome) {
  case WizardOutcome::Verified:
    return kExitVerified;
  case WizardOutcome::Cancelled:
    return kExitCancelled;
  case WizardOutcome::Failed:
    break;
  }
  return kExitFailed;
}

} // namespace quillon
