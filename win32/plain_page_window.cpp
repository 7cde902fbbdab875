#include "win32/plain_page_window.h"

#include "pages/modal_result.h"
#include "win32/notice_box.h"

namespace quillon {
namespace {

std::optional<PageInput> buttonInput(int id) {
  switch (id) {
  case ids::kOk:
    return PageInput::Forward;
  case ids::kCancel:
    return PageInput::Cancel;
  case ids::kPrevious:
    return PageInput::Previous;
  default:
    return std::nullopt;
  }
}

} // namespace

int PlainPageWindow::run() {
  ShowWindow(hwnd(), SW_SHOW);
  shownAt_ = GetTickCount();
  MSG message;
  while (!result_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0)
      PostQuitMessage(static_cast<int>(message.wParam)); // for the loops outside this one
    if (got <= 0)
      break;
    if (!preTranslate(message) && !IsDialogMessageW(hwnd(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return result_.value_or(modal::kCancel);
}

void PlainPageWindow::showNotice(std::string_view caption, std::string_view text) {
  ShowNotice(hwnd(), caption, text);
}

void PlainPageWindow::endPage(int result) {
  if (!result_)
    result_ = result;
}

bool PlainPageWindow::onInitDialog() {
  // The user starts on the forward button where it is the default, else on the first button.
  const ControlTemplate* forward = dialogTemplate().findControl(ids::kOk);
  if (!forward || (forward->style & StyleDefault) == 0)
    return true;
  SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(ids::kOk)), TRUE);
  return false;
}

std::optional<INT_PTR> PlainPageWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    // The window manager's close, where there is one, is the Escape route.
    page_.onInput(PageInput::Escape, *this);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
    return std::nullopt;
  const int id = LOWORD(wParam);
  if (lParam == 0) {
    // Not from a button: the dialog manager's own Enter or Escape.
    if (id == IDOK || id == IDCANCEL)
      page_.onInput(id == IDOK ? PageInput::Enter : PageInput::Escape, *this);
    return TRUE;
  }
  if (const std::optional<PageInput> input = buttonInput(id))
    page_.onInput(*input, *this);
  return TRUE;
}

bool PlainPageWindow::preTranslate(const MSG& message) {
  const bool ours = message.hwnd == hwnd() || IsChild(hwnd(), message.hwnd);
  if (ours && wentDownBeforeShown(message))
    return true; // dropped: neither the page nor the dialog manager sees it
  if (message.message != WM_KEYDOWN || result_ || !ours)
    return false;
  const int key = static_cast<int>(message.wParam);
  page_.onKeyDown(key, *this);
  if (result_)
    return true;
  if (key == VK_RETURN) {
    pressEnter();
    return true;
  }
  if (key == VK_ESCAPE) {
    page_.onInput(PageInput::Escape, *this);
    return true;
  }
  return false;
}

// A key held down since the page before repeats into this one (the repeat bit, 30, of a
// key-down or a character says the key was already down), and a press queued while the page
// was being built went down before the golfer could see the page: both were meant for the page
// before and answer nothing here. Only a key pressed anew, after this page appeared, counts.
bool PlainPageWindow::wentDownBeforeShown(const MSG& message) const {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
    return false;
  constexpr LPARAM kWasDown = LPARAM{1} << 30;
  const bool press = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN ||
                     message.message == WM_CHAR || message.message == WM_SYSCHAR;
  if (press && (message.lParam & kWasDown) != 0)
    return true;
  // Tick counts wrap after 49 days: the difference tells which came first.
  return static_cast<LONG>(message.time - shownAt_) <= 0;
}

// Enter on a focused button other than the forward one presses that button, as everywhere on
// the desktop; anywhere else it is the page's forward route.
void PlainPageWindow::pressEnter() {
  const HWND focused = GetFocus();
  for (const int id : {ids::kPrevious, ids::kCancel}) {
    if (focused && focused == control(id) && IsWindowEnabled(focused)) {
      page_.onInput(*buttonInput(id), *this);
      return;
    }
  }
  page_.onInput(PageInput::Enter, *this);
}

} // namespace quillon
