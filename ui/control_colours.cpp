#include "ui/control_colours.h"

#include <optional>

#include <QPalette>
#include <QWidget>

namespace quillon {
namespace {

struct RoleColours {
  std::optional<QColor> text;
  std::optional<QColor> background;
};

RoleColours coloursOf(ColourRole role) {
  switch (role) {
  case ColourRole::Header:
    return {palette::kHeaderText, palette::kHeaderBackground};
  case ColourRole::RedText:
    return {palette::kWarningText, std::nullopt};
  case ColourRole::WarningLine:
    return {palette::kWarningText, palette::kWarningBackground};
  case ColourRole::NavyText:
    return {palette::kNavyText, std::nullopt};
  case ColourRole::Standard:
    break;
  }
  return {};
}

} // namespace

void ApplyColourRole(QWidget& control, ColourRole role) {
  const RoleColours colours = coloursOf(role);
  if (!colours.text && !colours.background)
    return;
  QPalette pal = control.palette();
  if (colours.text) {
    // Statics draw with WindowText, edits with Text.
    pal.setColor(QPalette::WindowText, *colours.text);
    pal.setColor(QPalette::Text, *colours.text);
  }
  if (colours.background) {
    pal.setColor(QPalette::Window, *colours.background);
    pal.setColor(QPalette::Base, *colours.background);
    control.setAutoFillBackground(true);
  }
  control.setPalette(pal);
}

} // namespace quillon
