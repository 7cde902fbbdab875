#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace quillon {

// The pixel size a bitmap of the program is drawn at, or an empty size for an unknown number.
QSize ArtworkSize(int image);

// The bitmap with this number (artwork_numbers.h), drawn from its vector source
// at its pixel size and sharp on screens with a higher pixel density. Null for an unknown
// number.
QPixmap LoadArtwork(int image, qreal devicePixelRatio = 1.0);

// The application icon (artwork 128) at the usual icon sizes.
QIcon AppIcon();

} // namespace quillon
