#include "pages/firmware_load_page.h"

#include "gpsload/firmware_image.h"
#include "gpsload/uploader.h"
#include "link/device_link.h"
#include "log/update_log.h"
#include "pages/device_sequence.h"
#include "pages/modal_result.h"
#include "pages/progress_frame.h"
#include "pages/quoted_text.h"
#include "pages/update_failures.h"
#include "pages/update_rules.h"
#include "pages/upload_watchdog.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {
namespace {

constexpr char kLogModule[] = "Step3Update.cpp";

using namespace update;

// One run of the page: the frame, the image and the loader live as long as it.
class UpdateSequence : DeviceSequence {
public:
  UpdateSequence(const OrbfixValues& inputs, DeviceLink& link, PumpingClock& clock,
                 ProgressView& view, int rowCount)
      : DeviceSequence(kLogModule, link, clock, view, rowCount), inputs_(inputs),
        pumpingClock_(clock) {}

  int run();
  // Whether the run ended on "NOTICE E:13".
  bool alreadyUpToDate() const { return alreadyUpToDate_; }

private:
  StepOutcome checkFirmwareFile();
  StepOutcome endWithMissingFile();
  StepOutcome findDevice();
  StepOutcome enterCommandMode();
  StepOutcome readBattery();
  StepOutcome checkBattery();
  StepOutcome checkApplication();
  StepOutcome readGpsVersion();
  StepOutcome checkGpsVersion();
  StepOutcome loadIntoSilentChip();
  StepOutcome startPassthrough();
  StepOutcome lowerBaud();
  StepOutcome prepareGps();
  StepOutcome raiseBaud();
  StepOutcome upload();
  StepOutcome exitPassthrough();
  void close();

  // Reports the failure and does with the device what its ending says.
  StepOutcome fail(const Failure& failure, std::string_view detail);
  StepOutcome failWithStatus(const Failure& failure) { return fail(failure, statusText()); }

  const OrbfixValues& inputs_;
  PumpingClock& pumpingClock_;
  std::unique_ptr<FirmwareImage> image_;
  std::int32_t imageSize_ = 0;
  std::unique_ptr<Uploader> uploader_;
  // The GPS chip gave no version before or after its reset.
  bool chipSilent_ = false;
  bool alreadyUpToDate_ = false;
};

int UpdateSequence::run() {
  // The run order, and what a stop of the program would leave the Yardmark with meanwhile. A
  // failed step is followed by close() unless its failure ends the page at once.
  static constexpr auto kRunOrder = std::to_array<SequenceStep<UpdateSequence>>({
      {DeviceWork::Checking, &UpdateSequence::checkFirmwareFile},
      {DeviceWork::Checking, &UpdateSequence::findDevice},        // APPFINDKV7
      {DeviceWork::Checking, &UpdateSequence::enterCommandMode},  // APPCMDMODE
      {DeviceWork::Checking, &UpdateSequence::readBattery},       // APPREADBATT
      {DeviceWork::Checking, &UpdateSequence::checkBattery},      // APPCHECKBATT
      {DeviceWork::Checking, &UpdateSequence::checkApplication},  // APPCHECKAPPVER
      {DeviceWork::Checking, &UpdateSequence::readGpsVersion},    // APPREADGPSVER
      {DeviceWork::Checking, &UpdateSequence::checkGpsVersion},   // APPCHECKGPSVER
      {DeviceWork::Preparing, &UpdateSequence::startPassthrough}, // APPSTARTPASS
      {DeviceWork::Preparing, &UpdateSequence::lowerBaud},        // APPBAUD4800
      {DeviceWork::Preparing, &UpdateSequence::prepareGps},       // APPINITUPDATE
      {DeviceWork::Preparing, &UpdateSequence::raiseBaud},        // APPBAUD115200
      {DeviceWork::Writing, &UpdateSequence::upload},             // APPUPLOAD
      {DeviceWork::Finishing, &UpdateSequence::exitPassthrough},  // APPEXITPASS
  });
  QLOG_DEVINFO("     Initializing dialog info");
  frame_.begin();
  QLOG_DEVINFO("     Initializing state info");
  QLOG_DEVINFO("     Initializing state processing info");
  QLOG_DEVINFO("     Initializing communication info");
  QLOG_DEVINFO("     Initializing file info");
  QLOG_DEVINFO("     Initializing initial state to APPFINDKV7");
  runInOrder(*this, kRunOrder, &UpdateSequence::close); // APPCLOSE
  return frame_.result();
}

StepOutcome UpdateSequence::checkFirmwareFile() {
  QLOG_INFO("     Verifying Hex File");
  working(kFileRow, "...Searching for the Firmware File...");
  wait(kBeforeDeviceStep);
  QLOG_DEVINFO("     ..Creating binFile");
  image_ = std::make_unique<FirmwareImage>(inputs_.firmwarePath);
  if (!image_->opened()) {
    QLOG_DEVINFO("     ....Failed");
    QLOG_ERROR("     Invalid Hex File: Not bin_file_ok (E:3)");
    frame_.setStatus("...Invalid Hex File...");
    return endWithMissingFile();
  }
  QLOG_DEVINFO("     ....Success");
  if (!image_->isSRecord()) {
    // A file refused for what it is or for damage says which, and where: that is what support
    // needs to know. A file that is simply not S-records keeps the line it always had.
    if (image_->check() == ImageCheck::NotSRecords)
      QLOG_ERROR("     Invalid Hex File: Not S_Records (E:3)");
    else
      QLOG_ERROR("     Invalid Hex File: %s (E:3)", image_->refusal().c_str());
    return endWithMissingFile();
  }
  QLOG_INFO("     Valid Hex File");
  imageSize_ = image_->size();
  frame_.setRow(kFileRow, ProgressFrame::kDone);
  frame_.setStatus("..Firmware file found...");
  wait(kAfterDeviceStep);
  QLOG_INFO("     Starting Update");
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::endWithMissingFile() {
  const std::string message =
      "The firmware file could not be found.  Please make sure you have \"" +
      quotedInNotice(inputs_.firmwarePath) +
      "\" in the same location as this program and try again";
  presentFailure(frame_,
                 {"NOTICE E:3", message, kFileRow, "..Firmware file NOT found...", kRowShowNotice});
  wait(kAfterDeviceStep);
  frame_.endWith(modal::kCancel);
  return StepOutcome::Ended;
}

StepOutcome UpdateSequence::findDevice() {
  QLOG_INFO("     Finding the Yardmark...");
  working(kLocateRow, "...Searching for the Yardmark...");
  wait(kBeforeDeviceStep);
  if (link_.FindDevice() != KV7SUCCESS) {
    for (const std::string& line : DescribePortsTried(link_.portsTried()))
      QLOG_ERROR("     %s", line.c_str());
    return failWithStatus(kNotFound);
  }
  QLOG_INFO("     KV7 Found");
  for (const std::string& line : DescribePortsTried(link_.portsTried()))
    QLOG_DEVINFO("     %s", line.c_str());
  frame_.setRow(kLocateRow, ProgressFrame::kDone);
  frame_.setStatus("...Yardmark Found...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::enterCommandMode() {
  QLOG_INFO("     Turning On Command Mode...");
  working(kBatteryRow, "...Turning On Command Mode...");
  wait(kBeforeDeviceStep);
  if (link_.EnterCommandMode() != KV7SUCCESS)
    return failWithStatus(kCommandModeNotSet);
  QLOG_INFO("     Command Mode Set");
  frame_.setStatus("...Command Mode Set...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::readBattery() {
  QLOG_INFO("     Checking the Battery Level...");
  working(kBatteryRow, "...Checking the Battery Level...");
  wait(kBeforeDeviceStep);
  if (link_.ReadDeviceInfo() != KV7SUCCESS)
    return failWithStatus(kBatteryNotRead);
  QLOG_INFO("     Battery Level Read");
  frame_.setStatus("...Battery Level Read...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::checkBattery() {
  QLOG_INFO("     Verifying Battery Level...");
  frame_.setStatus("...Verifying Battery Level...");
  wait(kBeforeDeviceStep);
  const std::string level = link_.GetBatteryLevel();
  QLOG_INFO("     Battery Level acquired");
  frame_.setRow(kBatteryRow, ProgressFrame::kDone);
  frame_.setStatus("...Battery Verified...");
  wait(kAfterDeviceStep);
  if (DeviceLink::TextToInt(level.c_str()) < DeviceLink::TextToInt(inputs_.minBatteryLevel.c_str()))
    return fail(kBatteryLow, {});
  QLOG_INFO("     Battery Level is ok");
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::checkApplication() {
  QLOG_INFO("     Verifying Application...");
  frame_.setStatus("...Verifying Application...");
  frame_.setRow(kApplicationRow, ProgressFrame::kWorking);
  wait(kBeforeDeviceStep);
  const std::optional<std::string> version = link_.GetApplicationVersion();
  if (!version)
    return failWithStatus(kApplicationNotAcquired);
  QLOG_INFO("     Application Acquired");
  frame_.setRow(kApplicationRow, ProgressFrame::kDone);
  frame_.setStatus("...Application Verified...");
  wait(kAfterDeviceStep);
  if (!applicationVersionAccepted(*version, inputs_.minAppVersion))
    return fail(kApplicationOutOfDate, {});
  QLOG_INFO("     Application Version is ok");
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::readGpsVersion() {
  QLOG_INFO("     Reading the GPS Version...");
  working(kGpsVersionRow, "...Reading the GPS Version...");
  wait(kBeforeDeviceStep);
  if (link_.ReadGpsVersion() == KV7SUCCESS) {
    QLOG_INFO("     GPS Version Read");
    frame_.setStatus("...GPS Version Received...");
    wait(kAfterDeviceStep);
    return StepOutcome::Next;
  }
  // A GPS chip that is still starting up does not answer: reset it once and ask again.
  const bool firstUnanswered = link_.gpsVersionUnanswered();
  QLOG_ERROR("     GPS Version NOT Read on first try : %s", statusText().c_str());
  frame_.setStatus("...GPS Version NOT Received...");
  wait(kAfterDeviceStep);
  QLOG_INFO("     Resetting GPS and Retrying...");
  frame_.setStatus("...Resetting GPS and retrying...");
  wait(kAfterDeviceStep);
  if (link_.ResetGps() != KV7SUCCESS)
    return failWithStatus(kGpsNotReset);
  QLOG_INFO("     GPS Reset");
  if (link_.ReadGpsVersion() != KV7SUCCESS) {
    chipSilent_ = firstUnanswered && link_.gpsVersionUnanswered();
    return chipSilent_ ? StepOutcome::Next : failWithStatus(kGpsVersionNotReceived);
  }
  QLOG_INFO("    GPS Version Read");
  frame_.setRow(kGpsVersionRow, ProgressFrame::kDone);
  frame_.setStatus("...GPS Version Received...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::checkGpsVersion() {
  if (chipSilent_)
    return loadIntoSilentChip();
  QLOG_INFO("     Verifying the GPS Version...");
  frame_.setStatus("...Verifying the GPS Version...");
  wait(kBeforeDeviceStep);
  const std::optional<std::string> version = link_.GetGpsVersion();
  if (!version)
    return failWithStatus(kGpsVersionInvalid);
  QLOG_INFO("     GPS Version Valid");
  if (!gpsUpdateNeeded(*version, inputs_.targetGpsVersion.c_str())) {
    alreadyUpToDate_ = true;
    return fail(kAlreadyUpToDate, *version);
  }
  QLOG_INFO("     GPS Needs Update: %s", version->c_str());
  frame_.setRow(kGpsVersionRow, ProgressFrame::kDone);
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

// The device answers every command, but its GPS chip gave no version before or after its
// reset: it runs no application, as after a load that stopped part-way, and only a complete
// load brings it back. A chip whose firmware is whole takes the same firmware again without
// harm, and step 10 checks the version either way.
StepOutcome UpdateSequence::loadIntoSilentChip() {
  QLOG_ERROR("     GPS gave no version on either try: its firmware is loaded again");
  frame_.setRow(kGpsVersionRow, ProgressFrame::kDone);
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::startPassthrough() {
  QLOG_INFO("     Starting GPS Passthrough...");
  frame_.setStatus("...Starting GPS Passthrough...");
  wait(kAfterDeviceStep);
  if (link_.StartGpsPassthrough() != KV7SUCCESS)
    return failWithStatus(kPassthroughNotStarted);
  QLOG_INFO("    GPS Passthrough started");
  working(kInitialiseRow, "...GPS Passthrough Init...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::lowerBaud() {
  QLOG_INFO("     Setting Baud Rate to 4800...");
  frame_.setStatus("...Changing Baud Rate...");
  if (link_.SetBaud4800() != KV7SUCCESS)
    return failWithStatus(kBaud4800NotSet);
  QLOG_INFO("     Baud Rate set to 4800");
  working(kInitialiseRow, "...Baud Rate Changed...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::prepareGps() {
  QLOG_INFO("     Initializing GPS Update...");
  frame_.setStatus("...Initializing GPS Update...");
  if (link_.PrepareGpsForLoad() != KV7SUCCESS)
    return failWithStatus(kGpsUpdateNotInitialised);
  QLOG_INFO("     GPS Update Initialized");
  working(kInitialiseRow, "...GPS Update Initialized...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::raiseBaud() {
  QLOG_INFO("     Change Baud Rate to 11500...");
  frame_.setStatus("...Changing Baud Rate...");
  if (link_.SetBaud115200() != KV7SUCCESS)
    return failWithStatus(kBaud115200NotSet);
  QLOG_INFO("     Baud Rate changed to 11500");
  frame_.setRow(kInitialiseRow, ProgressFrame::kDone);
  frame_.setStatus("...Baud Rate Changed...");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::upload() {
  QLOG_INFO("     Updating GPS Firwmare...");
  working(kLoadRow, "..Updating Firmware..");
  QLOG_DEVINFO("     ...Creating the Uploader");
  uploader_ = std::make_unique<Uploader>(*image_, link_, LoadAddressing::Addressed,
                                         FirmwareLoadPage::kFlashStart, FirmwareLoadPage::kFlashEnd,
                                         clock_);
  QLOG_DEVINFO("     ...Starting the Uploader Loop");
  UploadWatchdog watchdog(*uploader_, link_, clock_);
  // The load is complete only once the boot loader has taken the end frame: until then the
  // flash is not whole, and the page must not say otherwise. The computer must neither sleep
  // nor shut down while the flash is written, and only then.
  deviceWork().hold();
  for (;;) {
    const bool stepAgain = uploader_->Step();
    pumpingClock_.pump();
    if (uploader_->state() == Uploader::AllDone)
      break;
    if (!stepAgain && uploader_->state() == Uploader::FileDone) {
      uploader_->Finish();
      continue;
    }
    if (const std::string_view reason = watchdog.stallReason(); !reason.empty()) {
      deviceWork().letGo();
      return fail(kUploadStalled, reason);
    }
    if (stepAgain)
      continue;
    if (const auto percent = uploadPercent(uploader_->bytesSent(), imageSize_))
      frame_.setProgress(*percent);
    frame_.transfer();
    frame_.repaint();
  }
  deviceWork().letGo();
  QLOG_DEVINFO("     ...Stopping the Uploader Loop");
  QLOG_INFO("     GPS Firmware Update Complete");
  frame_.setProgress(100);
  frame_.setRow(kLoadRow, ProgressFrame::kDone);
  frame_.setStatus("Firmware Update Complete!");
  wait(kAfterDeviceStep);
  return StepOutcome::Next;
}

StepOutcome UpdateSequence::exitPassthrough() {
  QLOG_INFO("     Exiting GPS Passthrough...");
  frame_.setStatus("...Exiting GPS Passthrough...");
  StepOutcome outcome = StepOutcome::Ended;
  if (link_.ExitGpsPassthrough() != KV7SUCCESS) {
    outcome = failWithStatus(kPassthroughNotExited);
  } else {
    QLOG_INFO("     GPS Passthrough Exited");
    frame_.setStatus("...GPS Passthrough Exited...");
    wait(kAfterDeviceStep);
    frame_.endWith(modal::kOk);
  }
  frame_.enableButton(FrameButton::Ok);
  return outcome;
}

void UpdateSequence::close() {
  QLOG_DEVINFO("     Closing window");
  frame_.enableButton(FrameButton::Cancel);
  frame_.endWith(modal::kCancel);
}

StepOutcome UpdateSequence::fail(const Failure& failure, std::string_view detail) {
  report(failure.step, detail);
  switch (failure.ending) {
  case Ending::ShutDownThenClose:
    wait(kAfterDeviceStep);
    link_.ShutDown();
    return StepOutcome::Failed;
  case Ending::Close:
    wait(kAfterDeviceStep);
    return StepOutcome::Failed;
  case Ending::ShutDownThenCancel:
    link_.ShutDown();
    wait(kAfterDeviceStep);
    break;
  case Ending::WaitShutDownCancel:
    wait(kAfterDeviceStep);
    link_.ShutDown();
    break;
  }
  frame_.endWith(modal::kCancel);
  return StepOutcome::Ended;
}

} // namespace

int FirmwareLoadPage::run(ProgressView& view) {
  const DeviceWorkScope work(DeviceWork::Checking);
  const PumpingClock::Scope pumping(clock_, [&view] { view.pump(); });
  UpdateSequence sequence(inputs_, link_, clock_, view, rowCount());
  const int result = sequence.run();
  alreadyUpToDate_ = sequence.alreadyUpToDate();
  return result;
}

} // namespace quillon
