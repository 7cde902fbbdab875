#pragma once

#include "pages/page_view.h"
#include "pages/pumping_clock.h"
#include "pages/wizard_outcome.h"
#include "pages/wizard_page.h"

#include <string>
#include <utility>

namespace quillon {

class DeviceLink;

struct WizardSettings {
  // Looked up in the current directory unless a path is given.
  std::string orbfixPath = "Orbfix.dat";
  // Where Orbfix.log is written; empty means beside the executable.
  std::string logDirectory;
};

// The wizard driver: the main dialog's initialisation. It opens the log, reads and checks
// Orbfix.dat, builds the eleven pages and walks them, one modal page per state, until the
// exit state; then it ends the (never shown) main dialog with Cancel, in every path. Its log
// lines carry the main dialog's module name, as they always have.
//
// The main dialog adds its About item and icons before calling run(); the DeviceLink it owns
// must be built on `clock`, the clock the device pages wait on.
class WizardDriver {
public:
  // A page whose window cannot be created is tried again at most this many times; then the
  // wizard ends instead of asking the user for ever.
  static constexpr int kCreationRetries = 5;

  WizardDriver(MainDialogView& dialog, PageRunner& runner, DeviceLink& link, PumpingClock& clock,
               WizardSettings settings = {})
      : dialog_(dialog), runner_(runner), link_(link), clock_(clock),
        settings_(std::move(settings)) {}

  // Runs the whole wizard. Returns true, as a dialog initialisation does.
  bool run();
  // How the last run ended: a refused Orbfix.dat is a failure too.
  WizardOutcome outcome() const { return outcome_; }

private:
  MainDialogView& dialog_;
  PageRunner& runner_;
  DeviceLink& link_;
  PumpingClock& clock_;
  WizardSettings settings_;
  WizardOutcome outcome_ = WizardOutcome::Failed;
};

} // namespace quillon
