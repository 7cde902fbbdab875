#include "win32/about_box.h"

namespace quillon {

std::optional<INT_PTR> AboutBox::onMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  // OK, Enter, Escape and the close box all close it.
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(hwnd(), LOWORD(wParam));
    return TRUE;
  }
  return std::nullopt;
}

} // namespace quillon
