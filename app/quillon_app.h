#pragma once

#include "app/quillon_dlg_window.h"
#include "base/clock.h"
#include "pages/pumping_clock.h"
#include "pages/wizard_driver.h"
#include "ui/qt_page_runner.h"

namespace quillon {

// The application object: the hidden main dialog with its DeviceLink, the clock every wait of
// the run goes through, and the Qt page runner. run() is the main dialog's initialisation: it
// adds the About command, prepares the dialog's controls and runs the wizard driver, which
// ends the dialog before it is ever shown.
class QuillonApp {
public:
  // `clock` is the real time the run waits in (scaled in the demo).
  explicit QuillonApp(Clock& clock) : clock_(clock), dialog_(clock_), runner_(&dialog_) {}

  QuillonDlgWindow& dialog() { return dialog_; }
  DeviceLink& link() { return dialog_.link(); }
  QtPageRunner& pageRunner() { return runner_; }

  // Runs the whole wizard and says how it ended. The pages are shown through `runner`, or
  // through the Qt page runner itself when none is given.
  WizardOutcome run(const WizardSettings& settings, PageRunner* runner = nullptr);

private:
  PumpingClock clock_;
  QuillonDlgWindow dialog_;
  QtPageRunner runner_;
};

} // namespace quillon
