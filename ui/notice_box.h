#pragma once

#include <string_view>

class QWidget;

namespace quillon {

// A message box with the caption and text given, only an OK button and no icon, owned by
// owner. Returns when the user has pressed OK. The text is shown as written: a file path
// quoted in a notice can never be taken for markup.
void ShowNotice(QWidget* owner, std::string_view caption, std::string_view text);

} // namespace quillon
