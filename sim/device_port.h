#pragma once

#include "sim/scheduler.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon::sim {

// What the device's parts (command protocol, GPS chip, boot loader) can do to the line and
// to time. The serving core implements it; every call happens on the serving thread.
class DevicePort {
public:
  virtual ~DevicePort() = default;
  // Hands bytes to the line; with pacing they leave at the line rate.
  virtual void send(const std::vector<std::uint8_t>& bytes) = 0;
  // Runs `action` after `delay`, multiplied by the device's time scale.
  virtual Scheduler::Id after(std::chrono::milliseconds delay, std::function<void()> action) = 0;
  virtual Scheduler::Id at(SimTime when, std::function<void()> action) = 0;
  // Cancelling id 0, or an action that already ran, does nothing.
  virtual void cancel(Scheduler::Id id) = 0;
  // Power is gone: nothing the device planned happens any more.
  virtual void cancelAll() = 0;
  virtual SimTime now() const = 0;
  // `delay` multiplied by the device's time scale.
  virtual SimDuration scaled(std::chrono::milliseconds delay) const = 0;
  // The baud rate the line runs at now, as the device sees it.
  virtual int lineBaud() const = 0;
  // True when the host has read every byte the device sent. Always true on a real serial
  // port, where the device cannot tell.
  virtual bool hostTookAll() const = 0;
  // On a real serial port the device's own UART must follow the protocol (4800 baud for the
  // GPS chip's commands, 115200 otherwise); a pseudo-terminal shares the host's setting.
  virtual void listenAt(int baud) = 0;
  // Pulls the cable: the host sees a hang-up.
  virtual void hangUp() = 0;
  // The battery gives out: the device is off, its line silent, until it is switched on again.
  virtual void losePower() = 0;
};

} // namespace quillon::sim
