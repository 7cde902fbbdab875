// The computer kept awake and the session's end answered, as Windows (or wine) takes them: the
// execution state while the flash is written, "not now" to the end of the session meanwhile,
// and the log's line when the session ends all the same. (The shutdown reason cannot be read
// back here: wine has no ShutdownBlockReasonQuery, and calling it ends the program.)

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "log/update_log.h"
#include "pages/device_work.h"
#include "tests/windows/check_runner.h"
#include "win32/power_hold_win32.h"

namespace quillon::wintest {
namespace {

constexpr char kLogName[] = "quillon-wintest-power.log";

// A dialog as the main dialog is: hidden, its session messages answered by AnswerSessionEnd.
INT_PTR CALLBACK SessionDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG)
    return TRUE;
  return AnswerSessionEnd(dialog, message, wParam).value_or(FALSE);
}

HWND HiddenDialog() {
  alignas(DWORD) static const DLGTEMPLATE kTemplate{WS_POPUP, 0, 0, 0, 0, 10, 10};
  static const WORD kTail[3] = {0, 0, 0}; // no menu, the default class, no title
  static_assert(sizeof kTemplate % sizeof(WORD) == 0);
  std::string bytes(reinterpret_cast<const char*>(&kTemplate), sizeof kTemplate);
  bytes.append(reinterpret_cast<const char*>(kTail), sizeof kTail);
  static std::string keep;
  keep = bytes;
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                    reinterpret_cast<const DLGTEMPLATE*>(keep.data()), nullptr,
                                    SessionDialog, 0);
}

bool SystemKeptOn() {
  // Setting the state returns the one before: ask with what it should be, and put it back.
  const EXECUTION_STATE before = SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
  if ((before & ES_SYSTEM_REQUIRED) == 0)
    SetThreadExecutionState(ES_CONTINUOUS);
  return (before & ES_CONTINUOUS) != 0 && (before & ES_SYSTEM_REQUIRED) != 0;
}

void HeldWhileWrittenAndLetGoAfter(Checks& checks) {
  const HWND dialog = HiddenDialog();
  if (!WCHECK(dialog != nullptr))
    return;
  Win32PowerHold hold(dialog);
  deviceWork().setPowerHold(&hold);
  deviceWork().enter(DeviceWork::Writing);
  deviceWork().hold();
  WCHECK(deviceWork().holding());
  WCHECK(SystemKeptOn());
  WCHECK_EQ(SendMessageW(dialog, WM_QUERYENDSESSION, 0, 0), FALSE);
  // What this system makes of the shutdown reason, for the record (wine: a stub).
  const BOOL reason = ShutdownBlockReasonCreate(dialog, L"Updating the Yardmark's GPS firmware");
  std::printf("    ShutdownBlockReasonCreate: %s (error %lu)\n", reason ? "TRUE" : "FALSE",
              reason ? 0UL : GetLastError());

  deviceWork().letGo();
  WCHECK(!SystemKeptOn());
  WCHECK_EQ(SendMessageW(dialog, WM_QUERYENDSESSION, 0, 0), TRUE);
  deviceWork().enter(DeviceWork::None);
  deviceWork().setPowerHold(nullptr);
  DestroyWindow(dialog);
}

void TheSessionsEndLeavesTheLine(Checks& checks) {
  const HWND dialog = HiddenDialog();
  if (!WCHECK(dialog != nullptr))
    return;
  UpdateLog& log = updateLog();
  if (!WCHECK(log.open(kLogName)))
    return;
  log.setLevel(1);
  const std::string path = log.logPath();
  deviceWork().enter(DeviceWork::Writing);
  SendMessageW(dialog, WM_ENDSESSION, TRUE, 0);
  deviceWork().enter(DeviceWork::None);
  log.close();
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  WCHECK(text.str().find("\tError\tStep 6 interrupted by the end of the Windows session while "
                         "loading the firmware") != std::string::npos);
  std::remove(path.c_str());
  DestroyWindow(dialog);
}

} // namespace

std::vector<TestCase> PowerTests() {
  return {{"HeldWhileWrittenAndLetGoAfter", HeldWhileWrittenAndLetGoAfter},
          {"TheSessionsEndLeavesTheLine", TheSessionsEndLeavesTheLine}};
}

} // namespace quillon::wintest
