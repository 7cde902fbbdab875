// The bitmaps and the icon: each is drawn at the pixel size its pages are laid out for, and
// is a real picture, not an empty or one-colour square. The rendered images are written to
// <build>/artwork/ so that a person can look at them.
#include <set>

#include <QDir>
#include <QImage>
#include <QTest>

#include "dialogs/dialog_template.h"
#include "ui/artwork.h"

namespace quillon {
namespace {

constexpr int kBitmaps[] = {art::kReadyScreen,  art::kBanner,  art::kCableAtDevice,
                            art::kCentreKeyOn,  art::kOffKey,  art::kCableAtComputer};

int distinctColours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2)
      colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

} // namespace

class ArtworkTest : public QObject {
  Q_OBJECT

private slots:
  void bitmapsHaveTheirStatedSizes() {
    QCOMPARE(ArtworkSize(art::kReadyScreen), QSize(216, 144));
    QCOMPARE(ArtworkSize(art::kBanner), QSize(253, 38));
    for (int image : {art::kCableAtDevice, art::kCentreKeyOn, art::kOffKey, art::kCableAtComputer})
      QCOMPARE(ArtworkSize(image), QSize(200, 200));
    QVERIFY(ArtworkSize(999).isEmpty());
    QVERIFY(LoadArtwork(999).isNull());
  }

  void everyBitmapIsDrawnAndIsAPicture() {
    const QString outDir = qEnvironmentVariable("QUILLON_BINARY_DIR", QDir::tempPath()) +
                           QStringLiteral("/artwork");
    QDir().mkpath(outDir);
    for (int image : kBitmaps) {
      const QPixmap pixmap = LoadArtwork(image);
      QVERIFY2(!pixmap.isNull(), qPrintable(QString::number(image)));
      QCOMPARE(pixmap.size(), ArtworkSize(image));
      const QImage picture = pixmap.toImage();
      QVERIFY2(distinctColours(picture) >= 6, qPrintable(QString::number(image)));
      // Opaque everywhere: the pictures sit on a bordered frame, not on the page colour.
      QCOMPARE(picture.pixelColor(0, 0).alpha(), 255);
      QCOMPARE(picture.pixelColor(picture.width() - 1, picture.height() - 1).alpha(), 255);
      QVERIFY(picture.save(QStringLiteral("%1/%2.png").arg(outDir).arg(image)));
    }
  }

  void highDensityScreensGetASharperBitmapOfTheSameSize() {
    const QPixmap sharp = LoadArtwork(art::kOffKey, 2.0);
    QCOMPARE(sharp.size(), QSize(400, 400));
    QCOMPARE(sharp.deviceIndependentSize().toSize(), QSize(200, 200));
  }

  void iconIsAvailableAtTheUsualSizes() {
    const QIcon icon = AppIcon();
    QVERIFY(!icon.isNull());
    for (int side : {16, 32, 48}) {
      const QImage image = icon.pixmap(side, side).toImage();
      QCOMPARE(image.size(), QSize(side, side));
      QVERIFY(distinctColours(image) >= 4);
    }
    QVERIFY(icon.pixmap(48, 48).toImage().save(
        qEnvironmentVariable("QUILLON_BINARY_DIR", QDir::tempPath()) +
        QStringLiteral("/artwork/128.png")));
  }
};

} // namespace quillon

QTEST_MAIN(quillon::ArtworkTest)
#include "gui_artwork_test.moc"
