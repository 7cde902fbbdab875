#include "win32/control_colours.h"

#include "dialogs/colour_roles.h"

namespace quillon {
namespace {

COLORREF toColorRef(const Rgb& rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

} // namespace

static_assert(static_cast<std::size_t>(ColourRole::NavyText) + 1 == ControlColours::kRoles,
              "one brush slot per colour role");

ControlColours::~ControlColours() {
  for (HBRUSH brush : brushes_) {
    if (brush)
      DeleteObject(brush);
  }
}

HBRUSH ControlColours::answer(HDC dc, ColourRole role, HBRUSH defaultBrush) {
  const RoleColours colours = ColoursOf(role);
  if (!colours.text && !colours.background)
    return nullptr;
  if (colours.text)
    SetTextColor(dc, toColorRef(*colours.text));
  if (!colours.background) {
    SetBkMode(dc, TRANSPARENT);
    return defaultBrush;
  }
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, toColorRef(*colours.background));
  HBRUSH& brush = brushes_.at(static_cast<std::size_t>(role));
  if (!brush)
    brush = CreateSolidBrush(toColorRef(*colours.background));
  return brush;
}

} // namespace quillon
