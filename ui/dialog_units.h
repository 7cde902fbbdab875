#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "dialogs/dialog_template.h"

namespace quillon {

// The font a template names where the system has its face, otherwise the system's own
// sans-serif font, at the template's point size.
QFont DialogFont(const TemplateFont& font);

// Converts dialog units to pixels for one font. A horizontal unit is a quarter of the font's
// average character width and a vertical unit an eighth of its character height, each result
// rounded to the nearest pixel, so a window keeps its proportions whatever font or screen it
// meets.
class DialogUnits {
public:
  explicit DialogUnits(const QFont& font);
  DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

  int baseWidth() const { return baseWidth_; }   // average character width, in pixels
  int baseHeight() const { return baseHeight_; } // character height, in pixels

  int toPixelsX(int dlu) const;
  int toPixelsY(int dlu) const;
  QRect toPixels(const DluRect& rect) const;
  QSize toPixels(int width, int height) const;

private:
  int baseWidth_;
  int baseHeight_;
};

} // namespace quillon
