#pragma once

#include "dialogs/dialog_template.h"

#include <array>
#include <windows.h>

namespace quillon {

// Answers a window's WM_CTLCOLORSTATIC and WM_CTLCOLOREDIT for a control of a colour role
// (colour_roles.h). A role with a background of its own fills the whole control with a solid
// brush of it; the brush is made the first time it is asked for and released with this
// object, when the page closes, so repainting a page never costs another one.
class ControlColours {
public:
  ControlColours() = default;
  ~ControlColours();
  ControlColours(const ControlColours&) = delete;
  ControlColours& operator=(const ControlColours&) = delete;

  // The brush to return from the window's dialog procedure, after setting the text colours on
  // dc; nullptr for the standard role, whose colours the dialog manager chooses.
  // `defaultBrush` is what the dialog manager would have returned for the control.
  HBRUSH answer(HDC dc, ColourRole role, HBRUSH defaultBrush);

  static constexpr std::size_t kRoles = 5;

private:
  std::array<HBRUSH, kRoles> brushes_{};
};

} // namespace quillon
