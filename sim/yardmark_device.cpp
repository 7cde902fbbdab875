#include "sim/yardmark_device.h"

#include "sim/wire_constants.h"

namespace quillon::sim {

YardmarkDevice::YardmarkDevice(const YardmarkOptions& options, FaultSet faults,
                               std::unique_ptr<FlashModel> firmware, DevicePort& port)
    : port_(port), faults_(std::move(faults)), firmware_(std::move(firmware)),
      loader_(flash_, faults_, port,
              options.prompt ? BootLoader::Pace{std::chrono::milliseconds(0), options.programDelay,
                                                std::chrono::milliseconds(0)}
                             : BootLoader::Pace{options.erasePace, options.programDelay}),
      chip_(options.gpsVersion, options.newGpsVersion, flash_, firmware_.get(), loader_, faults_,
            port),
      commands_({options.battery, options.identity, options.appVersion}, chip_, faults_, port) {}

void YardmarkDevice::powerOn() {
  if (mode_ != Mode::Off)
    return;
  mode_ = Mode::Ready;
  port_.listenAt(device_wire::kCommandBaud);
  commands_.reset();
  chip_.powerOn();
}

void YardmarkDevice::powerOff() {
  if (mode_ == Mode::Unplugged)
    return;
  mode_ = Mode::Off;
  chip_.stopChatter();
  loader_.stop();
  port_.cancelAll();
}

void YardmarkDevice::unplugged() {
  powerOff();
  mode_ = Mode::Unplugged;
}

void YardmarkDevice::pluggedIn() {
  if (mode_ == Mode::Unplugged)
    mode_ = Mode::Off;
}

void YardmarkDevice::receive(std::uint8_t byte, int baud) {
  if (!powered() || faults_.strikes("silent"))
    return;
  switch (mode_) {
  case Mode::Ready:
  case Mode::Command:
    switch (commands_.receive(byte, baud)) {
    case CommandEffect::None:
      break;
    case CommandEffect::EnterCommandMode:
      mode_ = Mode::Command;
      break;
    case CommandEffect::EnterPassthrough:
      mode_ = Mode::Passthrough;
      port_.listenAt(gps_wire::kCommandBaud);
      chip_.startPassthrough();
      break;
    case CommandEffect::ShutDown:
      powerOff();
      break;
    }
    return;
  case Mode::Passthrough:
    if (chip_.receive(byte, baud)) {
      mode_ = Mode::BootLoader;
      port_.listenAt(loader_wire::kBaud);
      loader_.start();
    }
    return;
  case Mode::BootLoader:
    loader_.receive(byte, baud);
    return;
  case Mode::Off:
  case Mode::Unplugged:
    return;
  }
}

DeviceState YardmarkDevice::state() const {
  switch (mode_) {
  case Mode::Off:
    return DeviceState::Off;
  case Mode::Ready:
    return DeviceState::Ready;
  case Mode::Command:
    return DeviceState::Command;
  case Mode::Passthrough:
    return DeviceState::Passthrough;
  case Mode::Unplugged:
    return DeviceState::Unplugged;
  case Mode::BootLoader:
    break;
  }
  switch (loader_.state()) {
  case LoaderState::Hello:
  case LoaderState::AwaitCommand:
  case LoaderState::AwaitErase:
    return DeviceState::BootLoader;
  case LoaderState::Done:
    return DeviceState::Done;
  case LoaderState::Erasing:
  case LoaderState::AwaitRecord:
  case LoaderState::Programming:
  case LoaderState::ColdRestart:
    break;
  }
  return DeviceState::Flashing;
}

} // namespace quillon::sim
