#pragma once

#include <optional>

#include "dialogs/dialog_template.h"

namespace quillon {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
};

// The fixed colours of a role. Roles without a background of their own keep the window's;
// the standard role has neither and keeps the platform's colours.
struct RoleColours {
  std::optional<Rgb> text;
  std::optional<Rgb> background;
};

constexpr RoleColours ColoursOf(ColourRole role) {
  constexpr Rgb kHeaderBackground{50, 50, 200};
  constexpr Rgb kHeaderText{255, 255, 255};
  constexpr Rgb kWarningText{255, 0, 0};
  constexpr Rgb kWarningBackground{255, 255, 100};
  constexpr Rgb kNavyText{0, 0, 125};
  switch (role) {
  case ColourRole::Header:
    return {kHeaderText, kHeaderBackground};
  case ColourRole::RedText:
    return {kWarningText, std::nullopt};
  case ColourRole::WarningLine:
    return {kWarningText, kWarningBackground};
  case ColourRole::NavyText:
    return {kNavyText, std::nullopt};
  case ColourRole::Standard:
    break;
  }
  return {};
}

} // namespace quillon
