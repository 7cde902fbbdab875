#pragma once

#include "pages/orbfix_file.h"
#include "pages/progress_page.h"
#include "pages/pumping_clock.h"
#include "pages/wizard_steps.h"

#include <cstdint>

namespace quillon {

class DeviceLink;

// Step 6: loads the new firmware into the GPS chip. The whole sequence runs as soon as the
// window is up: check the firmware file, find the Yardmark, check its battery, application
// and GPS versions, put it into GPS passthrough, start the chip's boot loader, upload, and
// leave passthrough. Ends with OK only when all of it succeeded.
class FirmwareLoadPage final : public ProgressPage {
public:
  // Where the boot loader is asked to erase and program.
  static constexpr std::uint32_t kFlashStart = 0x2D000000;
  static constexpr std::uint32_t kFlashEnd = 0xFFFFFFFF;

  // `link` is the main dialog's, and must have been built on `clock` so that its own long
  // waits keep the window alive too. `inputs` are the values of Orbfix.dat, read when the page
  // runs: the driver fills them before the first step.
  FirmwareLoadPage(DeviceLink& link, PumpingClock& clock, const OrbfixValues& inputs)
      : ProgressPage(step::kFirmwareLoad, kFirmwareLoadPageControls), link_(link), clock_(clock),
        inputs_(inputs) {}

  int run(ProgressView& view) override;
  // Every Cancel follows a notice; after "NOTICE E:13" there was simply nothing to update.
  WizardOutcome cancelOutcome() const override {
    return alreadyUpToDate_ ? WizardOutcome::Verified : WizardOutcome::Failed;
  }
  const OrbfixValues& inputs() const { return inputs_; }

private:
  DeviceLink& link_;
  PumpingClock& clock_;
  const OrbfixValues& inputs_;
  // The last run found the GPS chip already running the version the firmware installs.
  bool alreadyUpToDate_ = false;
};

} // namespace quillon
