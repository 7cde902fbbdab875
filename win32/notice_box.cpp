#include "win32/notice_box.h"

#include "base/utf16.h"

namespace quillon {

void ShowNotice(HWND owner, std::string_view caption, std::string_view text) {
  MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
}

} // namespace quillon
