#pragma once

#include "sim/boot_loader.h"
#include "sim/command_protocol.h"
#include "sim/device_port.h"
#include "sim/faults.h"
#include "sim/flash_model.h"
#include "sim/gps_chip.h"
#include "sim/virtual_yardmark.h"

#include <cstdint>
#include <memory>

namespace quillon::sim {

// The whole handheld behind the serial cable: power, the device's command protocol, and in
// passthrough the GPS chip or its boot loader. It is fed the bytes the host sends, one at a
// time, with the line rate they arrived at.
class YardmarkDevice {
public:
  // `firmware` is the firmware file's data; empty when none was given.
  YardmarkDevice(const YardmarkOptions& options, FaultSet faults,
                 std::unique_ptr<FlashModel> firmware, DevicePort& port);

  void powerOn();
  void powerOff();
  // The cable was pulled: nothing reaches the device any more.
  void unplugged();
  // The cable is back in; the device is still switched off.
  void pluggedIn();
  void receive(std::uint8_t byte, int baud);

  DeviceState state() const;
  bool powered() const { return mode_ != Mode::Off && mode_ != Mode::Unplugged; }
  const FlashModel& flash() const { return flash_; }
  const BootLoader& bootLoader() const { return loader_; }
  const FaultSet& faults() const { return faults_; }

private:
  enum class Mode { Off, Ready, Command, Passthrough, BootLoader, Unplugged };

  DevicePort& port_;
  FaultSet faults_;
  std::unique_ptr<FlashModel> firmware_;
  FlashModel flash_;
  BootLoader loader_;
  GpsChip chip_;
  CommandProtocol commands_;
  Mode mode_ = Mode::Off;
};

} // namespace quillon::sim
