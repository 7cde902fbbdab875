#pragma once

#include <string_view>
#include <windows.h>

namespace quillon {

// A message box with the caption and text given, only an OK button and no icon, owned by
// owner. Returns when the user has pressed OK.
void ShowNotice(HWND owner, std::string_view caption, std::string_view text);

} // namespace quillon
