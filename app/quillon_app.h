#pragma once

#include "app/interruption_watch.h"
#include "app/logind_power_hold.h"
#include "base/clock.h"
#include "pages/pumping_clock.h"
#include "pages/wizard_driver.h"
#include "ui/main_dialog_window.h"
#include "ui/qt_page_runner.h"

namespace quillon {

// The application object: the hidden main dialog with its DeviceLink, the clock every wait of
// the run goes through, and the Qt page runner; and around the run, the lock that keeps the
// computer awake while the GPS chip is written and the watch on the signals that would stop
// it. run() is the main dialog's initialisation: it adds the About command, prepares the
// dialog's controls and runs the wizard driver, which ends the dialog before it is ever shown.
class QuillonApp {
public:
  // `clock` is the real time the run waits in (scaled in the demo); `portFactory` makes the
  // serial ports discovery opens.
  explicit QuillonApp(Clock& clock, SerialPortFactory portFactory = MakePlatformSerialPort)
      : clock_(clock), dialog_(clock_, std::move(portFactory)), runner_(&dialog_) {
    deviceWork().setPowerHold(&powerHold_);
  }
  ~QuillonApp() { deviceWork().setPowerHold(nullptr); }
  QuillonApp(const QuillonApp&) = delete;
  QuillonApp& operator=(const QuillonApp&) = delete;

  MainDialogWindow& dialog() { return dialog_; }
  DeviceLink& link() { return dialog_.link(); }
  QtPageRunner& pageRunner() { return runner_; }

  // Runs the whole wizard and says how it ended. The pages are shown through `runner`, or
  // through the Qt page runner itself when none is given.
  WizardOutcome run(const WizardSettings& settings, PageRunner* runner = nullptr);

private:
  PumpingClock clock_;
  MainDialogWindow dialog_;
  QtPageRunner runner_;
  LogindPowerHold powerHold_;
  InterruptionWatch interruptions_;
};

} // namespace quillon
