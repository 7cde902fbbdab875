#include "pages/wizard_driver.h"

#include "log/update_log.h"
#include "pages/modal_result.h"
#include "pages/orbfix_file.h"
#include "pages/quoted_text.h"
#include "pages/visible_text.h"
#include "pages/wizard_pages.h"
#include "pages/wizard_steps.h"

#include <array>
#include <cstddef>
#include <optional>

namespace quillon {
namespace {

constexpr char kLogModule[] = "QuillonDlg.cpp";

constexpr int kErrorsOnly = 1;
// Past the last step: the wizard is over, and the log calls that step 12.
constexpr int kExit = step::kLast + 1;

// What a golfer does about a missing or damaged Orbfix.dat: the package puts it right.
constexpr std::string_view kReinstallAdvice =
    "Please make sure you have downloaded and installed the latest GPS Firmware Update package "
    "from the Tolvane website.";

// What the log calls each step when it begins ("Step 6: Update the firmware if possible -
// initiated"), by step number from step::kFirst.
constexpr std::array<const char*, step::kCount> kStepTitles{
    "Introduction",
    "Connect KV7 Cable to computer",
    "Connect KV7 Cable to KV7",
    "Turn on the KV7",
    "Verify the correct screen is showing",
    "Update the firmware if possible",
    "Turn off the KV7",
    "Turn back on the KV7",
    "Verify the correct screen is showing",
    "Verify update was successful and reset GPS",
    "Finished",
};

// The step loop: one modal page per step, moved on by each page's result.
class StepLoop {
public:
  StepLoop(WizardPages& pages, PageRunner& runner, MainDialogView& dialog)
      : pages_(pages), runner_(runner), dialog_(dialog) {}

  void run();
  WizardOutcome outcome() const { return outcome_; }

private:
  // The step after `step`'s page ended with `result`; past step::kLast ends the wizard.
  int nextStep(int step, int result);
  int afterCancel(int step);
  int afterNotCreated(int step);

  WizardPages& pages_;
  PageRunner& runner_;
  MainDialogView& dialog_;
  int creationFailures_ = 0;
  WizardOutcome outcome_ = WizardOutcome::Cancelled;
};

void StepLoop::run() {
  int step = step::kFirst;
  while (step >= step::kFirst && step <= step::kLast) {
    QLOG_INFO("Step %d: %s - initiated", step,
              kStepTitles[static_cast<std::size_t>(step - step::kFirst)]);
    const int result = pages_.ofStep(step).runOn(runner_);
    step = nextStep(step, result);
  }
  QLOG_INFO("Step %d: Exit - initiated", kExit);
}

int StepLoop::nextStep(int step, int result) {
  if (result != modal::kNotCreated)
    creationFailures_ = 0;
  switch (result) {
  case modal::kOk:
    QLOG_INFO("Step %d: successful", step);
    if (step == step::kResetAndVerify)
      outcome_ = WizardOutcome::Verified;
    return step + 1;
  case modal::kCancel:
    QLOG_INFO("Step %d: canceled", step);
    return afterCancel(step);
  case modal::kAbort:
    outcome_ = WizardOutcome::Failed;
    // Step 8's line has always lacked the colon; support's log searches expect it so.
    if (step == step::kTurnOnAgain)
      QLOG_ERROR("Step 8 aborted");
    else
      QLOG_ERROR("Step %d: aborted", step);
    return kExit;
  case modal::kNotCreated:
    return afterNotCreated(step);
  default:
    outcome_ = WizardOutcome::Failed;
    // Step 1's line has always had two blanks before "(E:0)"; kept so old and new logs match.
    if (step == step::kIntro)
      QLOG_ERROR("Step 1: unknown return  (E:0)");
    else
      QLOG_ERROR("Step %d: unknown return (E:0)", step);
    return kExit;
  }
}

// Pages with a "<- Previous" button go back one step when it was pressed.
int StepLoop::afterCancel(int step) {
  const WizardPage& page = pages_.ofStep(step);
  if (!page.hasPrevious() || !page.wasPreviousPressed()) {
    // After the verified version, the golfer leaving the last page changes nothing.
    if (outcome_ != WizardOutcome::Verified)
      outcome_ = page.cancelOutcome();
    return kExit;
  }
  QLOG_INFO("...return to previous Step");
  return step - 1;
}

int StepLoop::afterNotCreated(int step) {
  // Steps 1 and 2 have always written two blanks before "(E:0)"; kept so old and new logs match.
  if (step <= step::kConnectComputer)
    QLOG_ERROR("Dialog box not created  (E:0)");
  else
    QLOG_ERROR("Dialog box not created (E:0)");
  dialog_.showNotice("NOTICE E:0", "Dialog box could not be created!");
  ++creationFailures_;
  if (creationFailures_ <= WizardDriver::kCreationRetries)
    return step;
  QLOG_ERROR("Step %d: gave up after %d attempts to create the page  (E:0)", step,
             creationFailures_);
  outcome_ = WizardOutcome::Failed;
  return kExit;
}

// Why Orbfix.dat could not be read, at the default level too: the golfer is shown E:2.
void logNotRead(OrbfixAccess access) {
  switch (access) {
  case OrbfixAccess::NotRegularFile:
    QLOG_ERROR("Orbfix.dat file NOT opened: not a regular file (a folder, a pipe or a device) "
               "(E:2)");
    return;
  case OrbfixAccess::CannotRead:
    QLOG_ERROR("Orbfix.dat file NOT read: the system could not read it (E:2)");
    return;
  default:
    QLOG_ERROR("Orbfix.dat file NOT opened (E:2)");
    return;
  }
}

// Orbfix.dat is opened without waiting and read no further than it may be long, so a pipe,
// a device or an endless file put in its place costs neither time nor memory.
std::optional<OrbfixContent> readOrbfix(const std::string& path, OrbfixValues& values) {
  QLOG_INFO("Attempting to open Orbfix.dat file...");
  OrbfixContent content = readOrbfixContent(path);
  if (content.access != OrbfixAccess::Read) {
    logNotRead(content.access);
    return std::nullopt;
  }
  QLOG_INFO("Orbfix.dat file opened");
  QLOG_INFO("Reading in Orbfix.dat file data...");
  values = orbfixValuesOf(content.bytes);
  for (const std::string* value : {&values.releaseTag, &values.minAppVersion, &values.firmwarePath,
                                   &values.targetGpsVersion, &values.minBatteryLevel}) {
    // The file's text is data, never a format; what is not text is shown as \xNN.
    QLOG_INFO("%s", visibleText(*value).c_str());
  }
  QLOG_INFO("Orbfix.dat file data read");
  QLOG_INFO("Closing Orbfix.dat file...");
  QLOG_INFO("Orbfix.dat file closed");
  return content;
}

// A value that would switch a check off, or that no GPS chip could ever report, stops the
// wizard before the Yardmark is touched, naming the line to put right.
// A file that is no Orbfix.dat at all (binary, UTF-16, endless) is refused the same way.
void refuseOrbfix(MainDialogView& dialog, const OrbfixProblem& problem) {
  const std::string where = problem.line == 0 ? "" : " line " + std::to_string(problem.line);
  const std::string wrong = describeOrbfixProblem(problem);
  QLOG_ERROR("Orbfix.dat%s NOT valid: %s (E:26)", where.c_str(), wrong.c_str());
  dialog.showNotice("NOTICE E:26", "A file necessary to run this program is damaged (Orbfix.dat" +
                                       where + ": " + wrong + "). " +
                                       std::string(kReinstallAdvice));
}

// Without a log nobody can tell afterwards what the update did: the golfer hears it now.
void tellNoLog(MainDialogView& dialog, const std::string& folder) {
  const std::string where =
      folder.empty() ? "beside this program" : "in the folder \"" + quotedInNotice(folder) + "\"";
  dialog.showNotice("NOTICE", "The log file Orbfix.log cannot be written " + where +
                                  ". The update will go on without a log.");
}

} // namespace

bool WizardDriver::run() {
  outcome_ = WizardOutcome::Failed;
  UpdateLog& log = updateLog();
  const bool logOpen = settings_.logDirectory.empty()
                           ? log.open("Orbfix.log")
                           : log.openIn(settings_.logDirectory.c_str(), "Orbfix.log");
  log.setLevel(kErrorsOnly);
  QLOG_INFO("Log initiated");
  if (!logOpen)
    tellNoLog(dialog_, log.folder());

  QLOG_DEVINFO("Creating Dialog Objects");
  OrbfixValues values;
  WizardPages pages(link_, clock_, values);

  const std::optional<OrbfixContent> content = readOrbfix(settings_.orbfixPath, values);
  if (!content) {
    const std::string missing = "A file necessary to run this program is missing (Orbfix.dat). ";
    dialog_.showNotice("NOTICE E:2", missing + std::string(kReinstallAdvice));
  } else if (const auto damage = findOrbfixDamage(*content, values)) {
    refuseOrbfix(dialog_, *damage);
  } else {
    QLOG_INFO("Verifying most recent uploader is being used...");
    if (values.releaseTag != kReleaseTag) {
      QLOG_ERROR("..Not Verified, update necessary");
      dialog_.showNotice("NOTICE E-1", "There is an update for this program.  Please download "
                                       "the latest version from the Tolvane website.");
    } else {
      QLOG_INFO("...Verified");
      if (const auto problem = findOrbfixProblem(values)) {
        refuseOrbfix(dialog_, *problem);
      } else {
        QLOG_DEVINFO("Starting our state switch loop");
        StepLoop loop(pages, runner_, dialog_);
        loop.run();
        outcome_ = loop.outcome();
      }
    }
  }
  // The main dialog itself is never shown: it ends as soon as the wizard is over.
  dialog_.endDialog(modal::kCancel);
  return true;
}

} // namespace quillon
