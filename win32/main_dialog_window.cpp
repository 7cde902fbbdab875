#include "win32/main_dialog_window.h"

#include "dialogs/artwork_numbers.h"
#include "pages/modal_result.h"
#include "pages/wizard_driver.h"
#include "win32/about_box.h"
#include "win32/notice_box.h"
#include "win32/power_hold_win32.h"
#include "win32/win32_page_runner.h"

#include <array>
#include <commctrl.h>
#include <commdlg.h>
#include <utility>

namespace quillon {
namespace {

constexpr int kHighestComPort = 18;

// The Browse dialog's filter, as the program has always written it, in the form Windows
// takes: pairs of description and pattern, each ended by a NUL, the list by a second one.
constexpr wchar_t kFirmwareFilter[] = L"KV7 Application\0application.kv7\0All Files(*.*)\0*.*\0";

} // namespace

void MainDialogWindow::showNotice(std::string_view caption, std::string_view text) {
  ShowNotice(hwnd(), caption, text);
}

void MainDialogWindow::endDialog(int result) {
  EndDialog(hwnd(), result);
}

bool MainDialogWindow::onInitDialog() {
  addAboutCommand();
  setIcons();
  prepareControls();
  Win32PageRunner runner(hwnd());
  Win32PowerHold powerHold(hwnd());
  deviceWork().setPowerHold(&powerHold);
  WizardDriver driver(*this, runner, link_, clock_);
  driver.run();
  outcome_ = driver.outcome();
  deviceWork().setPowerHold(nullptr);
  return true;
}

std::optional<INT_PTR> MainDialogWindow::onMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (const auto answered = AnswerSessionEnd(hwnd(), message, wParam))
    return answered;
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == kAboutCommand) {
    AboutBox about;
    about.runModal(hwnd());
    return TRUE;
  }
  if (message != WM_COMMAND)
    return std::nullopt;
  switch (LOWORD(wParam)) {
  case IDOK: // "Reload GPS Firmware" and Enter do nothing: the dialog stays open
    return TRUE;
  case IDCANCEL: // "Exit", Escape and the close box
    endDialog(modal::kCancel);
    return TRUE;
  case ids::kBrowse:
    if (HIWORD(wParam) == BN_CLICKED)
      browseForFirmware();
    return TRUE;
  default:
    return std::nullopt;
  }
}

void MainDialogWindow::addAboutCommand() {
  std::array<wchar_t, 64> text{};
  HMENU menu = GetSystemMenu(hwnd(), FALSE);
  if (!menu || LoadStringW(ProgramInstance(), kAboutTextString, text.data(),
                           static_cast<int>(text.size())) <= 0)
    return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kAboutCommand, text.data());
}

void MainDialogWindow::setIcons() {
  for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
    const int side = GetSystemMetrics(metric);
    // Shared icons belong to the system's cache: nothing to release.
    HANDLE icon = LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(art::kAppIcon), IMAGE_ICON, side,
                             side, LR_SHARED);
    SendMessageW(hwnd(), WM_SETICON, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(icon));
  }
}

void MainDialogWindow::prepareControls() {
  HWND progress = control(ids::kMainProgress);
  SendMessageW(progress, PBM_SETRANGE32, 0, 100);
  SendMessageW(progress, PBM_SETPOS, 0, 0);
  HWND ports = control(ids::kPortList);
  SendMessageW(ports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Scan Ports"));
  for (int n = 1; n <= kHighestComPort; ++n) {
    const std::wstring item = L"Com" + std::to_wstring(n);
    SendMessageW(ports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageW(ports, CB_SETCURSEL, 0, 0);
  // The template's "StateString" gives way to the empty state text.
  SetWindowTextW(control(ids::kStateText), L"");
}

void MainDialogWindow::browseForFirmware() {
  std::array<wchar_t, MAX_PATH> chosen{};
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.lpstrFilter = kFirmwareFilter;
  request.lpstrFile = chosen.data();
  request.nMaxFile = static_cast<DWORD>(chosen.size());
  // No owner, no initial name, no default extension and no option flags, as it always was.
  if (!GetOpenFileNameW(&request))
    return;
  firmwarePath_ = chosen.data();
  SetWindowTextW(control(ids::kFirmwarePath), firmwarePath_.c_str());
}

} // namespace quillon
