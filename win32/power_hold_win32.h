#pragma once

#include "pages/device_work.h"

#include <optional>
#include <windows.h>

namespace quillon {

// The computer kept awake on Windows while the GPS chip is written: the thread's execution
// state asks the system to stay on (ES_CONTINUOUS | ES_SYSTEM_REQUIRED), and the main
// window's shutdown reason is the text Windows shows the person who shuts down meanwhile (the
// main dialog answers the session's end "not now"). Both are the user-interface thread's,
// made and undone there. take() fails only when the system cannot be kept on.
class Win32PowerHold final : public PowerHold {
public:
  explicit Win32PowerHold(HWND mainWindow) : window_(mainWindow) {}
  ~Win32PowerHold() override { release(); }
  Win32PowerHold(const Win32PowerHold&) = delete;
  Win32PowerHold& operator=(const Win32PowerHold&) = delete;

  bool take(std::string& why) override;
  void release() override;

private:
  HWND window_;
  bool awake_ = false;
  bool reasonShown_ = false;
};

// What ends the Windows session, or the console the program may have been started from, says
// to the program. While the flash is written the session's end is answered "not now"; when it
// comes all the same, and when the console is closed or interrupted, the log gets its line.
// The main dialog's window passes its WM_QUERYENDSESSION and WM_ENDSESSION here; the answer
// is the dialog's to return.
std::optional<INT_PTR> AnswerSessionEnd(HWND dialog, UINT message, WPARAM wParam);
// Registers the console's handler (Ctrl+C, Ctrl+Break, the console closed, log-off, shutdown).
void WatchConsoleInterruptions();

} // namespace quillon
