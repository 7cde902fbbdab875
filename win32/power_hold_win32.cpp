#include "win32/power_hold_win32.h"

#include "base/utf16.h"

namespace quillon {
namespace {

std::string lastErrorText(const char* call) {
  return std::string(call) + " failed with error " + std::to_string(GetLastError());
}

// The console's event, as the log names the cause of the stop.
const char* consoleCause(DWORD event) {
  switch (event) {
  case CTRL_C_EVENT:
    return "Ctrl+C";
  case CTRL_BREAK_EVENT:
    return "Ctrl+Break";
  case CTRL_CLOSE_EVENT:
    return "the console closing";
  case CTRL_LOGOFF_EVENT:
    return "the user logging off";
  default:
    return "the system shutting down";
  }
}

// Runs on a thread of its own, made by the system; the log takes its lock. FALSE: the
// system's own handling follows, which ends the process.
BOOL WINAPI onConsoleEvent(DWORD event) {
  deviceWork().logInterruption(consoleCause(event));
  return FALSE;
}

} // namespace

bool Win32PowerHold::take(std::string& why) {
  release();
  awake_ = SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0;
  if (!awake_) {
    why = lastErrorText("SetThreadExecutionState");
    return false;
  }
  // The reason is what Windows shows; the shutdown itself is held back by the main dialog's
  // answer to WM_QUERYENDSESSION, with or without it.
  reasonShown_ = ShutdownBlockReasonCreate(window_, ToWide(PowerHold::kReason).c_str()) != FALSE;
  return true;
}

void Win32PowerHold::release() {
  if (reasonShown_)
    ShutdownBlockReasonDestroy(window_);
  if (awake_)
    SetThreadExecutionState(ES_CONTINUOUS);
  reasonShown_ = false;
  awake_ = false;
}

std::optional<INT_PTR> AnswerSessionEnd(HWND dialog, UINT message, WPARAM wParam) {
  if (message == WM_QUERYENDSESSION) {
    // A dialog's answer to a message goes through DWLP_MSGRESULT: FALSE is "not now".
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, deviceWork().holding() ? FALSE : TRUE);
    return TRUE;
  }
  if (message == WM_ENDSESSION && wParam != FALSE) {
    deviceWork().logInterruption("the end of the Windows session");
    return TRUE;
  }
  return std::nullopt;
}

void WatchConsoleInterruptions() {
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

} // namespace quillon
