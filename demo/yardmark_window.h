#pragma once

#include <QWidget>

#include "sim/virtual_yardmark.h"

class QLabel;
class QPushButton;

namespace quillon::demo {

class DeviceScreen;

// The virtual Yardmark's own small window: its screen, its power key and its state in words.
// The golfer presses the power key when the wizard says so (off at step 7, on at step 8).
class YardmarkWindow final : public QWidget {
  Q_OBJECT

public:
  // `imageBytes` is the size of the firmware the flash should end up holding (0: unknown).
  YardmarkWindow(sim::VirtualYardmark& device, std::size_t imageBytes);

  // What the state line says, e.g. "flashing 42%".
  static QString StateText(sim::DeviceState state, int percent);

private:
  void pressPowerKey();
  void follow();
  int percent() const;

  sim::VirtualYardmark& device_;
  std::size_t imageBytes_;
  DeviceScreen* screen_;
  QPushButton* powerKey_;
  QLabel* state_;
};

} // namespace quillon::demo
