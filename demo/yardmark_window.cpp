#include "demo/yardmark_window.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "demo/device_screen.h"
#include "sim/console_lines.h"

namespace quillon::demo {
namespace {

constexpr int kFollowMs = 100;

} // namespace

YardmarkWindow::YardmarkWindow(sim::VirtualYardmark& device, std::size_t imageBytes)
    : device_(device), imageBytes_(imageBytes), screen_(new DeviceScreen(this)),
      powerKey_(new QPushButton(QStringLiteral("Power key"), this)), state_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Virtual Yardmark KV7"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(screen_, 0, Qt::AlignHCenter);
  layout->addWidget(powerKey_);
  layout->addWidget(state_);
  state_->setAlignment(Qt::AlignCenter);
  powerKey_->setToolTip(QStringLiteral("Switches the Yardmark on or off"));
  connect(powerKey_, &QPushButton::clicked, this, &YardmarkWindow::pressPowerKey);
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &YardmarkWindow::follow);
  timer->start(kFollowMs);
  follow();
}

QString YardmarkWindow::StateText(sim::DeviceState state, int percent) {
  QString text = QString::fromLatin1(sim::StateName(state));
  if (state == sim::DeviceState::Flashing && percent >= 0)
    text += QStringLiteral(" %1%").arg(percent);
  return text;
}

void YardmarkWindow::pressPowerKey() {
  if (device_.state() == sim::DeviceState::Off)
    device_.powerOn();
  else
    device_.powerOff();
  follow();
}

int YardmarkWindow::percent() const {
  if (imageBytes_ == 0)
    return -1;
  const auto done = static_cast<std::size_t>(device_.programmedBytes()) * 100 / imageBytes_;
  return static_cast<int>(std::min<std::size_t>(done, 100));
}

void YardmarkWindow::follow() {
  const sim::DeviceState state = device_.state();
  const int shown = percent();
  screen_->display(state, shown);
  state_->setText(StateText(state, shown));
  powerKey_->setEnabled(state != sim::DeviceState::Unplugged);
}

} // namespace quillon::demo
