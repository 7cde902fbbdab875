#pragma once

#include <span>
#include <string_view>

#include "dialogs/dialog_template.h"
#include "dialogs/progress_page_controls.h"

// Shorthands the template tables are written with, so that each control reads as one line.
namespace quillon::parts {

constexpr ControlTemplate Text(int id, std::string_view text, DluRect rect,
                               std::uint32_t style = StyleNone,
                               ColourRole colour = ColourRole::Standard) {
  return ControlTemplate{id, ControlKind::Label, style, text, rect, colour, 0};
}

// The sunken, centred step title, white on blue.
constexpr ControlTemplate Title(int id, std::string_view text, DluRect rect) {
  return Text(id, text, rect, StyleCentred | StyleVCentred | StyleSunken, ColourRole::Header);
}

constexpr ControlTemplate Group(int id, std::string_view text, DluRect rect) {
  return ControlTemplate{id, ControlKind::GroupBox, StyleNone, text, rect,
                         ColourRole::Standard, 0};
}

constexpr ControlTemplate Button(int id, std::string_view text, DluRect rect,
                                 std::uint32_t style = StyleNone) {
  return ControlTemplate{id, ControlKind::PushButton, style, text, rect,
                         ColourRole::Standard, 0};
}

constexpr ControlTemplate Picture(int id, int image, DluRect rect) {
  return ControlTemplate{id, ControlKind::Picture, StyleBordered, {}, rect,
                         ColourRole::Standard, image};
}

constexpr ControlTemplate Progress(int id, DluRect rect) {
  return ControlTemplate{id, ControlKind::ProgressBar, StyleBordered, {}, rect,
                         ColourRole::Standard, 0};
}

constexpr ControlTemplate Control(int id, ControlKind kind, std::string_view text, DluRect rect,
                                  std::uint32_t style = StyleNone,
                                  ColourRole colour = ColourRole::Standard) {
  return ControlTemplate{id, kind, style, text, rect, colour, 0};
}

// A picture's frame in dialog units, sized for its bitmap plus a one-pixel border at the
// nominal 8-point dialog font (6 x 13 pixel base units), rounded up.
constexpr int PictureWidthDlu(int pixels) { return ((pixels + 2) * 4 + 5) / 6; }
constexpr int PictureHeightDlu(int pixels) { return ((pixels + 2) * 8 + 12) / 13; }

// A picture centred across a window `dialogWidth` dialog units wide, its top at y.
constexpr ControlTemplate CentredPicture(int id, int image, int dialogWidth, int y) {
  const art::PixelSize pixels = art::SizeOf(image);
  const int width = PictureWidthDlu(pixels.width);
  return Picture(id, image, {(dialogWidth - width) / 2, y, width, PictureHeightDlu(pixels.height)});
}

// A row of a device page: its label, and beside it the state text its page changes. The
// template's state text is a placeholder the page replaces before it is first shown.
constexpr ControlTemplate RowLabel(const ProgressRow& row, DluRect rect) {
  return Text(ids::kNoId, row.label, rect);
}
constexpr ControlTemplate RowState(const ProgressRow& row, std::string_view placeholder,
                                   DluRect rect) {
  return Text(row.stateControl, placeholder, rect, StyleCentred, ColourRole::NavyText);
}

} // namespace quillon::parts

namespace quillon {
// The three tables of templates, each in its own file.
std::span<const DialogTemplate* const> PlainPageTemplates();
std::span<const DialogTemplate* const> ProgressPageTemplates();
std::span<const DialogTemplate* const> MainDialogTemplates();
} // namespace quillon
