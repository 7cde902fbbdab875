#include "win32/about_box.h"

namespace quillon {

std::wstring AboutBox::versionLine() {
  return L"Quillon version " QUILLON_VERSION;
}

// The second line of text is the version, so that support can tell which build a golfer runs.
bool AboutBox::onInitDialog() {
  std::size_t labels = 0;
  for (std::size_t i = 0; i < dialogTemplate().controls.size(); ++i) {
    if (dialogTemplate().controls[i].kind == ControlKind::Label && ++labels == 2)
      SetWindowTextW(controlAt(i), versionLine().c_str());
  }
  return true;
}

std::optional<INT_PTR> AboutBox::onMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  // OK, Enter, Escape and the close box all close it.
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(hwnd(), LOWORD(wParam));
    return TRUE;
  }
  return std::nullopt;
}

} // namespace quillon
