#include "ui/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

#include "ui/qt_text.h"

namespace quillon {
namespace {

// The average width is taken over the 52 letters, as dialog units have always been measured.
constexpr auto kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// a * b / c rounded to the nearest integer, half away from zero.
int scaleRounded(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

QFont DialogFont(const TemplateFont& font) {
  const QString face = ToQString(font.face);
  QFont qfont = QFontDatabase::hasFamily(face)
                    ? QFont(face)
                    : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  qfont.setStyleHint(QFont::SansSerif);
  qfont.setPointSize(font.pointSize);
  return qfont;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // Half the width of the 26 letter pairs, rounded: the average character width.
  baseWidth_ = (metrics.horizontalAdvance(QString::fromLatin1(kAlphabet)) / 26 + 1) / 2;
  baseHeight_ = metrics.height();
}

int DialogUnits::toPixelsX(int dlu) const { return scaleRounded(dlu, baseWidth_, 4); }

int DialogUnits::toPixelsY(int dlu) const { return scaleRounded(dlu, baseHeight_, 8); }

QRect DialogUnits::toPixels(const DluRect& rect) const {
  return {toPixelsX(rect.x), toPixelsY(rect.y), toPixelsX(rect.width), toPixelsY(rect.height)};
}

QSize DialogUnits::toPixels(int width, int height) const {
  return {toPixelsX(width), toPixelsY(height)};
}

} // namespace quillon
