#pragma once

#include "pages/progress_page.h"
#include "pages/pumping_clock.h"

#include <string>

namespace quillon {

class DeviceLink;

// Step 10: after the power cycle, resets the GPS chip, reads its version back and checks that
// it is the version the new firmware reports, then switches the Yardmark off. Ends with OK
// when the version matched, even if the switch-off then failed.
class ResetAndVerifyPage final : public ProgressPage {
public:
  enum State : int {
    VERCMDMODE = 0,
    VERRESETGPS = 1,
    VERREADGPSVER = 2,
    VERCHECKGPSVER = 3,
    VERSHUTDOWN = 4,
    VERERROR = 5,
  };

  // `link` is the main dialog's, built on `clock` (see FirmwareLoadPage).
  ResetAndVerifyPage(DeviceLink& link, PumpingClock& clock)
      : ProgressPage(10, kResetAndVerifyPageControls), link_(link), clock_(clock) {}

  int run(ProgressView& view) override;

  // From Orbfix.dat, written by the driver each time the step is entered.
  std::string targetGpsVersion;

private:
  DeviceLink& link_;
  PumpingClock& clock_;
};

} // namespace quillon
