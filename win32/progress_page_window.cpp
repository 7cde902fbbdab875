#include "win32/progress_page_window.h"

#include "base/utf16.h"
#include "win32/accessible_window.h"
#include "win32/notice_box.h"

#include <algorithm>
#include <commctrl.h>

namespace quillon {
namespace {

// Keys, mouse buttons and moves, in the client area and on the frame: the user's input,
// which a device page does not take. It is dropped, not kept for later, so that a key
// pressed during the upload cannot answer the next page.
bool isUserInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

} // namespace

void ProgressPageWindow::present() {
  ShowWindow(hwnd(), SW_SHOW);
  pump(); // let Windows activate and map it before the first paint
  repaint();
}

void ProgressPageWindow::setRowText(int row, std::string_view text) {
  if (row < 1 || static_cast<std::size_t>(row) > rows_.size())
    return;
  setText(rows_[static_cast<std::size_t>(row - 1)].stateControl, text);
}

void ProgressPageWindow::setStatusLine(std::string_view text) {
  setText(statusControl_, text);
}

void ProgressPageWindow::setProgress(int percent) {
  // The bar's range is 0 to 100; a value beyond it shows as a full (or empty) bar.
  HWND bar = control(progressControl_);
  if (!bar)
    return;
  const auto shown = static_cast<LRESULT>(std::clamp(percent, 0, 100));
  if (SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(shown), 0) != shown)
    AnnounceValueChange(bar);
}

// Paints now whatever has changed (each text and the bar mark themselves when set), without
// erasing the rest: the upload asks for this after every record, and a whole-page repaint
// would flicker.
void ProgressPageWindow::repaint() {
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void ProgressPageWindow::setButtonEnabled(FrameButton button, bool enabled) {
  if (HWND b = control(button == FrameButton::Ok ? ids::kOk : ids::kCancel))
    EnableWindow(b, enabled ? TRUE : FALSE);
}

void ProgressPageWindow::pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam)); // kept for the loops outside
      return;
    }
    if (isUserInput(message.message))
      continue;
    DispatchMessageW(&message);
  }
}

void ProgressPageWindow::showNotice(std::string_view caption, std::string_view text) {
  ShowNotice(hwnd(), caption, text);
}

void ProgressPageWindow::endPage(int result) {
  if (!result_)
    result_ = result;
}

std::optional<INT_PTR> ProgressPageWindow::onMessage(UINT message, WPARAM /*wParam*/,
                                                     LPARAM /*lParam*/) {
  // Neither the close request nor the dialog manager's OK and Cancel end this window; only
  // its page does.
  if (message == WM_CLOSE || message == WM_COMMAND)
    return TRUE;
  return std::nullopt;
}

// The upload puts every text on the window after each record; a text that has not changed is
// left alone, so that it is not erased and drawn again each time (a flicker the golfer sees).
void ProgressPageWindow::setText(int id, std::string_view text) {
  HWND target = control(id);
  if (!target)
    return;
  const std::wstring wanted = ToWide(text);
  std::wstring shown(wanted.size() + 2, L'\0');
  shown.resize(static_cast<std::size_t>(
      GetWindowTextW(target, shown.data(), static_cast<int>(shown.size()))));
  if (shown == wanted)
    return;
  SetWindowTextW(target, wanted.c_str());
  AnnounceNameChange(target);
}

} // namespace quillon
