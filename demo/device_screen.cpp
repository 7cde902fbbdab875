#include "demo/device_screen.h"

#include <QPainter>

#include "dialogs/artwork_numbers.h"
#include "ui/artwork.h"

namespace quillon::demo {
namespace {

// The size of the wizard's picture of the ready screen.
constexpr int kScreenWidth = 216;
constexpr int kScreenHeight = 144;
const QColor kLitScreen(196, 214, 170);
const QColor kDarkScreen(30, 34, 30);
const QColor kInk(20, 30, 20);

} // namespace

DeviceScreen::DeviceScreen(QWidget* parent) : QWidget(parent) {
  setFixedSize(kScreenWidth, kScreenHeight);
}

void DeviceScreen::display(sim::DeviceState state, int percent) {
  if (state == state_ && percent == percent_)
    return;
  state_ = state;
  percent_ = percent;
  update();
}

QString DeviceScreen::Caption(sim::DeviceState state, int percent) {
  switch (state) {
  case sim::DeviceState::Off:
    return {};
  case sim::DeviceState::Ready:
  case sim::DeviceState::Command:
    return QStringLiteral("Ready");
  case sim::DeviceState::Passthrough:
  case sim::DeviceState::BootLoader:
    return QStringLiteral("GPS passthrough");
  case sim::DeviceState::Flashing:
    return percent < 0 ? QStringLiteral("Updating GPS...")
                       : QStringLiteral("Updating GPS... %1%").arg(percent);
  case sim::DeviceState::Done:
    return QStringLiteral("Done");
  case sim::DeviceState::Unplugged:
    return QStringLiteral("Cable unplugged");
  }
  return {};
}

void DeviceScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect();
  if (state_ == sim::DeviceState::Off) {
    painter.fillRect(area, kDarkScreen);
    return;
  }
  if (state_ == sim::DeviceState::Ready || state_ == sim::DeviceState::Command) {
    const QPixmap ready = LoadArtwork(art::kReadyScreen, devicePixelRatioF());
    if (!ready.isNull()) {
      painter.drawPixmap(area, ready);
      return;
    }
  }
  painter.fillRect(area, kLitScreen);
  painter.setPen(kInk);
  QFont font = painter.font();
  font.setBold(true);
  font.setPointSize(11);
  painter.setFont(font);
  painter.drawText(area.adjusted(6, 6, -6, -40), Qt::AlignCenter, Caption(state_, percent_));
  if (state_ == sim::DeviceState::Flashing && percent_ >= 0) {
    const QRect bar(16, area.height() - 36, area.width() - 32, 14);
    painter.drawRect(bar);
    painter.fillRect(bar.adjusted(2, 2, -2, -2).adjusted(0, 0, -(bar.width() - 4) * (100 - percent_) / 100, 0),
                     kInk);
  }
}

} // namespace quillon::demo
