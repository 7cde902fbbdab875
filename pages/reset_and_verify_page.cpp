#include "pages/reset_and_verify_page.h"

#include "link/device_link.h"
#include "log/update_log.h"
#include "pages/device_sequence.h"
#include "pages/modal_result.h"
#include "pages/progress_frame.h"
#include "pages/update_rules.h"
#include "pages/verify_failures.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {
namespace {

constexpr char kLogModule[] = "Step5Verify.cpp";

using namespace verify;

class VerifySequence : DeviceSequence {
public:
  VerifySequence(const OrbfixValues& inputs, DeviceLink& link, Clock& clock, ProgressView& view,
                 int rowCount)
      : DeviceSequence(kLogModule, link, clock, view, rowCount), inputs_(inputs) {}

  int run();

private:
  StepOutcome enterCommandMode();
  StepOutcome resetGps();
  StepOutcome readGpsVersion();
  StepOutcome checkGpsVersion();
  StepOutcome shutDown();
  void endAfterError();

  // Logs the failure, shows it, waits, and goes on to switch the device off.
  StepOutcome fail(const StepFailure& failure, std::string_view detail);
  StepOutcome failWithStatus(const StepFailure& failure) { return fail(failure, statusText()); }

  const OrbfixValues& inputs_;
};

int VerifySequence::run() {
  // The run order. A failed step, and a failed switch-off, are followed by endAfterError().
  static constexpr auto kRunOrder = std::to_array<SequenceStep<VerifySequence>>({
      {DeviceWork::Verifying, &VerifySequence::enterCommandMode}, // VERCMDMODE
      {DeviceWork::Verifying, &VerifySequence::resetGps},         // VERRESETGPS
      {DeviceWork::Verifying, &VerifySequence::readGpsVersion},   // VERREADGPSVER
      {DeviceWork::Verifying, &VerifySequence::checkGpsVersion},  // VERCHECKGPSVER
      {DeviceWork::Verifying, &VerifySequence::shutDown},         // VERSHUTDOWN
  });
  QLOG_DEVINFO("     Initializing dialog info");
  frame_.begin();
  QLOG_DEVINFO("     Initializing state info");
  QLOG_DEVINFO("     Initializing state processing info");
  QLOG_INFO("     Starting Verification");
  runInOrder(*this, kRunOrder, &VerifySequence::endAfterError); // VERERROR
  return frame_.result();
}

StepOutcome VerifySequence::enterCommandMode() {
  QLOG_INFO("     Turning On Command Mode...");
  working(kCommandRow, "...Turning On Command Mode...");
  frame_.setProgress(10);
  wait(kBeforeDeviceStep);
  if (link_.EnterCommandMode() != KV7SUCCESS)
    return failWithStatus(kCommandModeNotSet);
  QLOG_INFO("     Command Mode Set");
  frame_.setRow(kCommandRow, ProgressFrame::kDone);
  frame_.setProgress(20);
  frame_.setStatus("...Command Mode Set...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome VerifySequence::resetGps() {
  QLOG_INFO("     Resetting the GPS...");
  working(kResetRow, "...Resetting the GPS...");
  frame_.setProgress(30);
  wait(kBeforeDeviceStep);
  if (link_.ResetGps() != KV7SUCCESS)
    return failWithStatus(kResetFailed);
  QLOG_INFO("     GPS Reset Successful");
  frame_.setRow(kResetRow, ProgressFrame::kDone);
  frame_.setProgress(50);
  frame_.setStatus("...GPS Reset...");
  // The reset itself has waited 20 s for the chip: no pause of our own.
  return StepOutcome::Next;
}

StepOutcome VerifySequence::readGpsVersion() {
  QLOG_INFO("     Reading GPS Version...");
  frame_.setRow(kReadRow, ProgressFrame::kWorking);
  frame_.setProgress(60);
  frame_.setStatus("...Reading the GPS Version...");
  wait(kBeforeDeviceStep);
  if (link_.ReadGpsVersion() != KV7SUCCESS)
    return failWithStatus(kVersionNotRead);
  QLOG_INFO("     GPS Version Read");
  frame_.setRow(kReadRow, ProgressFrame::kDone);
  frame_.setProgress(70);
  frame_.setStatus("...GPS Version Received...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome VerifySequence::checkGpsVersion() {
  QLOG_INFO("     Verify GPS Version...");
  working(kCheckRow, "...Verifying the GPS Version...");
  frame_.setProgress(80);
  wait(kBeforeDeviceStep);
  const std::optional<std::string> version = link_.GetGpsVersion();
  if (!version)
    return failWithStatus(kVersionInvalid);
  QLOG_INFO("     GPS Version Valid");
  if (gpsUpdateNeeded(*version, inputs_.targetGpsVersion.c_str())) {
    // The version the new firmware should report did not come back: the user must check.
    const StepOutcome outcome = fail(kVersionIncorrect, *version);
    frame_.endWith(modal::kCancel);
    return outcome;
  }
  QLOG_INFO("     GPS Version Correct: %s", version->c_str());
  frame_.setRow(kCheckRow, ProgressFrame::kDone);
  frame_.setStatus("...GPS Version Verified...");
  frame_.setProgress(90);
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome VerifySequence::shutDown() {
  QLOG_INFO("     Shutting Down KV7...");
  working(kShutDownRow, "...Shutting down Yardmark...");
  wait(kBeforeDeviceStep);
  StepOutcome outcome = StepOutcome::Ended;
  if (link_.ShutDown() == KV7SUCCESS) {
    QLOG_INFO("     KV7 Shutdown Successful");
    QLOG_INFO("     Firwmare Update Succesful");
    frame_.setRow(kShutDownRow, ProgressFrame::kDone);
    frame_.setProgress(100);
    frame_.setStatus("Firmware Update Successful!");
    wait(kAfterDeviceStep);
  } else {
    // The firmware is verified; only the switch-off failed. The page still ends with OK and
    // tries the switch-off once more on its way out.
    QLOG_INFO("     KV7 Shutdown Failed");
    QLOG_INFO("     Firmware Update Successful");
    frame_.setRow(kShutDownRow, ProgressFrame::kFail);
    frame_.setStatus("Firmware Update Successful!");
    wait(kAfterDeviceStep);
    outcome = StepOutcome::Failed;
  }
  frame_.endWith(modal::kOk);
  frame_.enableButton(FrameButton::Ok);
  return outcome;
}

void VerifySequence::endAfterError() {
  QLOG_INFO("     Displaying Error Message");
  link_.ShutDown();
  frame_.enableButton(FrameButton::Cancel);
  frame_.endWith(modal::kCancel);
}

StepOutcome VerifySequence::fail(const StepFailure& failure, std::string_view detail) {
  report(failure, detail);
  wait(kAfterDeviceStep);
  return StepOutcome::Failed;
}

} // namespace

int ResetAndVerifyPage::run(ProgressView& view) {
  const DeviceWorkScope work(DeviceWork::Verifying);
  const PumpingClock::Scope pumping(clock_, [&view] { view.pump(); });
  VerifySequence sequence(inputs_, link_, clock_, view, rowCount());
  return sequence.run();
}

} // namespace quillon
