#pragma once

#include "pages/orbfix_file.h"
#include "pages/progress_page.h"
#include "pages/pumping_clock.h"
#include "pages/wizard_steps.h"

namespace quillon {

class DeviceLink;

// Step 10: after the power cycle, resets the GPS chip, reads its version back and checks that
// it is the version the new firmware reports, then switches the Yardmark off. Ends with OK
// when the version matched, even if the switch-off then failed.
class ResetAndVerifyPage final : public ProgressPage {
public:
  // `link` is the main dialog's, built on `clock`; `inputs` are the values of Orbfix.dat (see
  // FirmwareLoadPage).
  ResetAndVerifyPage(DeviceLink& link, PumpingClock& clock, const OrbfixValues& inputs)
      : ProgressPage(step::kResetAndVerify, kResetAndVerifyPageControls), link_(link),
        clock_(clock), inputs_(inputs) {}

  int run(ProgressView& view) override;
  const OrbfixValues& inputs() const { return inputs_; }

private:
  DeviceLink& link_;
  PumpingClock& clock_;
  const OrbfixValues& inputs_;
};

} // namespace quillon
