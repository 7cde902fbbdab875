#include "pages/reset_and_verify_page.h"

#include "link/device_link.h"
#include "log/update_log.h"
#include "pages/device_step.h"
#include "pages/device_work.h"
#include "pages/modal_result.h"
#include "pages/progress_frame.h"
#include "pages/update_rules.h"
#include "pages/verify_failures.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {
namespace {

constexpr char kLogModule[] = "Step5Verify.cpp";

using namespace verify;

class VerifySequence {
public:
  VerifySequence(const ResetAndVerifyPage& page, DeviceLink& link, Clock& clock, ProgressView& view)
      : page_(page), link_(link), clock_(clock), frame_(view, page.rowCount()) {}

  int run();

private:
  void runState();
  void enterCommandMode();
  void resetGps();
  void readGpsVersion();
  void checkGpsVersion();
  void shutDown();
  void endAfterError();

  // Logs the failure, shows it, waits, and goes on to switch the device off.
  void fail(const StepFailure& failure, std::string_view detail);
  void failWithStatus(const StepFailure& failure) { fail(failure, statusText()); }
  std::string statusText() const;
  void wait(std::chrono::milliseconds pause) { clock_.sleepMs(static_cast<int>(pause.count())); }
  void working(int row, std::string_view status) {
    frame_.setRow(row, ProgressFrame::kWorking);
    frame_.setStatus(status);
  }

  const ResetAndVerifyPage& page_;
  DeviceLink& link_;
  Clock& clock_;
  ProgressFrame frame_;
  int state_ = ResetAndVerifyPage::VERCMDMODE;
  bool sequenceRunning_ = true;
};

int VerifySequence::run() {
  QLOG_DEVINFO("     Initializing dialog info");
  frame_.begin();
  QLOG_DEVINFO("     Initializing state info");
  QLOG_DEVINFO("     Initializing state processing info");
  QLOG_INFO("     Starting Verification");
  state_ = ResetAndVerifyPage::VERCMDMODE;
  while (sequenceRunning_)
    runState();
  return frame_.result();
}

void VerifySequence::runState() {
  switch (state_) {
  case ResetAndVerifyPage::VERCMDMODE:
    return enterCommandMode();
  case ResetAndVerifyPage::VERRESETGPS:
    return resetGps();
  case ResetAndVerifyPage::VERREADGPSVER:
    return readGpsVersion();
  case ResetAndVerifyPage::VERCHECKGPSVER:
    return checkGpsVersion();
  case ResetAndVerifyPage::VERSHUTDOWN:
    return shutDown();
  default:
    return endAfterError();
  }
}

void VerifySequence::enterCommandMode() {
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
  state_ = ResetAndVerifyPage::VERRESETGPS;
}

void VerifySequence::resetGps() {
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
  state_ = ResetAndVerifyPage::VERREADGPSVER;
}

void VerifySequence::readGpsVersion() {
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
  state_ = ResetAndVerifyPage::VERCHECKGPSVER;
}

void VerifySequence::checkGpsVersion() {
  QLOG_INFO("     Verify GPS Version...");
  working(kCheckRow, "...Verifying the GPS Version...");
  frame_.setProgress(80);
  wait(kBeforeDeviceStep);
  const std::optional<std::string> version = link_.GetGpsVersion();
  if (!version)
    return failWithStatus(kVersionInvalid);
  QLOG_INFO("     GPS Version Valid");
  if (gpsUpdateNeeded(*version, page_.targetGpsVersion.c_str())) {
    // The version the new firmware should report did not come back: the user must check.
    fail(kVersionIncorrect, *version);
    frame_.endWith(modal::kCancel);
    return;
  }
  QLOG_INFO("     GPS Version Correct: %s", version->c_str());
  frame_.setRow(kCheckRow, ProgressFrame::kDone);
  frame_.setStatus("...GPS Version Verified...");
  frame_.setProgress(90);
  wait(kAfterDeviceStep);
  state_ = ResetAndVerifyPage::VERSHUTDOWN;
}

void VerifySequence::shutDown() {
  QLOG_INFO("     Shutting Down KV7...");
  working(kShutDownRow, "...Shutting down Yardmark...");
  wait(kBeforeDeviceStep);
  if (link_.ShutDown() == KV7SUCCESS) {
    QLOG_INFO("     KV7 Shutdown Successful");
    QLOG_INFO("     Firwmare Update Succesful");
    frame_.setRow(kShutDownRow, ProgressFrame::kDone);
    frame_.setProgress(100);
    frame_.setStatus("Firmware Update Successful!");
    wait(kAfterDeviceStep);
    sequenceRunning_ = false;
  } else {
    // The firmware is verified; only the switch-off failed. The page still ends with OK and
    // tries the switch-off once more on its way out.
    QLOG_INFO("     KV7 Shutdown Failed");
    QLOG_INFO("     Firmware Update Successful");
    frame_.setRow(kShutDownRow, ProgressFrame::kFail);
    frame_.setStatus("Firmware Update Successful!");
    wait(kAfterDeviceStep);
    state_ = ResetAndVerifyPage::VERERROR;
  }
  frame_.endWith(modal::kOk);
  frame_.enableButton(FrameButton::Ok);
}

void VerifySequence::endAfterError() {
  QLOG_INFO("     Displaying Error Message");
  link_.ShutDown();
  frame_.enableButton(FrameButton::Cancel);
  frame_.endWith(modal::kCancel);
  sequenceRunning_ = false;
}

void VerifySequence::fail(const StepFailure& failure, std::string_view detail) {
  const std::string line = failureLogText(failure, detail);
  QLOG_ERROR("%s", line.c_str());
  presentFailure(frame_, failure.notice);
  wait(kAfterDeviceStep);
  state_ = ResetAndVerifyPage::VERERROR;
}

std::string VerifySequence::statusText() const {
  return link_.GetStatusText();
}

} // namespace

int ResetAndVerifyPage::run(ProgressView& view) {
  const DeviceWorkScope work(DeviceWork::Verifying);
  const PumpingClock::Scope pumping(clock_, [&view] { view.pump(); });
  VerifySequence sequence(*this, link_, clock_, view);
  return sequence.run();
}

} // namespace quillon
