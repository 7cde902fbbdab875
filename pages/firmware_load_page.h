#pragma once

#include "pages/progress_page.h"
#include "pages/pumping_clock.h"

#include <cstdint>
#include <string>

namespace quillon {

class DeviceLink;

// Step 6: loads the new firmware into the GPS chip. The whole sequence runs as soon as the
// window is up: check the firmware file, find the Yardmark, check its battery, application
// and GPS versions, put it into GPS passthrough, start the chip's boot loader, upload, and
// leave passthrough. Ends with OK only when all of it succeeded.
class FirmwareLoadPage final : public ProgressPage {
public:
  // The steps of the sequence; they run in the order 0, 1, 4, 5, 6, 2, 3, 7 ... 12.
  enum State : int {
    APPFINDKV7 = 0,
    APPCMDMODE = 1,
    APPREADGPSVER = 2,
    APPCHECKGPSVER = 3,
    APPREADBATT = 4,
    APPCHECKBATT = 5,
    APPCHECKAPPVER = 6,
    APPSTARTPASS = 7,
    APPBAUD4800 = 8,
    APPINITUPDATE = 9,
    APPBAUD115200 = 10,
    APPUPLOAD = 11,
    APPEXITPASS = 12,
    APPCLOSE = 13,
  };

  // Where the boot loader is asked to erase and program.
  static constexpr std::uint32_t kFlashStart = 0x2D000000;
  static constexpr std::uint32_t kFlashEnd = 0xFFFFFFFF;

  // `link` is the main dialog's, and must have been built on `clock` so that its own long
  // waits keep the window alive too.
  FirmwareLoadPage(DeviceLink& link, PumpingClock& clock)
      : ProgressPage(6, kFirmwareLoadPageControls), link_(link), clock_(clock) {}

  int run(ProgressView& view) override;
  // Every Cancel follows a notice; after "NOTICE E:13" there was simply nothing to update.
  WizardOutcome cancelOutcome() const override {
    return alreadyUpToDate_ ? WizardOutcome::Verified : WizardOutcome::Failed;
  }

  // Inputs from Orbfix.dat, written by the driver each time the step is entered.
  std::string minAppVersion;
  std::string firmwarePath;
  std::string targetGpsVersion;
  std::int32_t minBatteryLevel = 0;

private:
  DeviceLink& link_;
  PumpingClock& clock_;
  // The last run found the GPS chip already running the version the firmware installs.
  bool alreadyUpToDate_ = false;
};

} // namespace quillon
