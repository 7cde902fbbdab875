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
  page_.onShow();
  ShowWindow(hwnd(), SW_SHOW);
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
  if (message.message != WM_KEYDOWN || result_ ||
      (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)))
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
