#include "ui/control_colours.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "dialogs/colour_roles.h"

namespace quillon {
namespace {

QColor toQColor(const Rgb& rgb) { return {rgb.red, rgb.green, rgb.blue}; }

} // namespace

void ApplyColourRole(QWidget& control, ColourRole role) {
  const RoleColours colours = ColoursOf(role);
  if (!colours.text && !colours.background)
    return;
  QPalette pal = control.palette();
  if (colours.text) {
    // Statics draw with WindowText, edits with Text.
    pal.setColor(QPalette::WindowText, toQColor(*colours.text));
    pal.setColor(QPalette::Text, toQColor(*colours.text));
  }
  if (colours.background) {
    pal.setColor(QPalette::Window, toQColor(*colours.background));
    pal.setColor(QPalette::Base, toQColor(*colours.background));
    control.setAutoFillBackground(true);
  }
  control.setPalette(pal);
}

} // namespace quillon
