#pragma once

#include <QWidget>

#include "sim/virtual_yardmark.h"

namespace quillon::demo {

// The virtual Yardmark's display, drawn from the device's state: dark when off, the ready
// screen (the very picture the wizard asks the golfer to compare with), "GPS passthrough",
// "Updating GPS... NN%" while the chip's flash is written, and "Done".
class DeviceScreen final : public QWidget {
  Q_OBJECT

public:
  explicit DeviceScreen(QWidget* parent = nullptr);

  // The percentage is shown while flashing; a negative one is unknown.
  void display(sim::DeviceState state, int percent);

  static QString Caption(sim::DeviceState state, int percent);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  sim::DeviceState state_ = sim::DeviceState::Off;
  int percent_ = -1;
};

} // namespace quillon::demo
