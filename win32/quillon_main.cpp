// quillon: the GPS firmware update wizard for the Yardmark KV6 and KV7. No options: Orbfix.dat
// is read from the current folder, Orbfix.log is written beside the executable, and the device
// is looked for on the COM ports.
#include "base/clock.h"
#include "pages/pumping_clock.h"
#include "pages/wizard_outcome.h"
#include "win32/main_dialog_window.h"
#include "win32/power_hold_win32.h"

#include <windows.h>
// These declare themselves in terms of windows.h.
#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  // The progress bar's class comes from the common controls, version 6 by the manifest.
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  // Screen readers reach the windows' accessible objects through COM, in this thread's
  // apartment.
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  quillon::WatchConsoleInterruptions();
  quillon::SystemClock systemClock;
  quillon::PumpingClock clock(systemClock);
  quillon::MainDialogWindow dialog(clock);
  // The golfer reads the result on the pages; a script that started the wizard reads it here,
  // as it would from the Linux program. A main dialog that Windows could not create at all
  // ran no wizard: a failure of the program itself.
  const INT_PTR result = dialog.run();
  if (com)
    CoUninitialize();
  if (result == -1)
    return quillon::kExitFailed;
  return quillon::ExitStatusOf(dialog.outcome());
}
