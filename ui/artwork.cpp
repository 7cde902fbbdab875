#include "ui/artwork.h"

#include <mutex>

#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include "dialogs/artwork_numbers.h"

// The artwork lives in a static library, so its resources are registered by hand.
static void registerArtworkResources() { Q_INIT_RESOURCE(quillon); }

namespace quillon {
namespace {

void ensureResources() {
  static std::once_flag once;
  std::call_once(once, registerArtworkResources);
}

} // namespace

QSize ArtworkSize(int image) {
  const art::PixelSize size = art::SizeOf(image);
  return {size.width, size.height};
}

QPixmap LoadArtwork(int image, qreal devicePixelRatio) {
  const QSize size = ArtworkSize(image);
  if (size.isEmpty())
    return {};
  ensureResources();
  QSvgRenderer renderer(QStringLiteral(":/art/%1.svg").arg(image));
  if (!renderer.isValid())
    return {};
  const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  QPixmap pixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return pixmap;
}

QIcon AppIcon() {
  ensureResources();
  // The vector source renders sharp at every size the window system asks for.
  return QIcon(QStringLiteral(":/art/%1.svg").arg(art::kAppIcon));
}

} // namespace quillon
