#pragma once

#include "link/serial_port.h"

#include <memory>

namespace quillon::demo {

// The serial port as the demo runs it at a time scale below 1. Until the device has said
// anything on it, a read waits for the first byte only the read's bound times the scale, so a
// silent device is given up on that much sooner, like every other wait of the run (a one-byte
// read of the port, 30 ms, is the shortest wait). Once the device has answered, the port
// reads as it always does: a busy machine must not turn a late answer into a wrong one.
class ScaledSerialPort final : public SerialPort {
public:
  ScaledSerialPort(std::unique_ptr<SerialPort> inner, double scale)
      : inner_(std::move(inner)), scale_(scale) {}

  bool open(const std::string& path) override { return inner_->open(path); }
  bool readSettings() override { return inner_->readSettings(); }
  bool applyTimeouts() override { return inner_->applyTimeouts(); }
  bool applyLineSettings(int baud) override { return inner_->applyLineSettings(baud); }
  void close() override { inner_->close(); }
  bool isOpen() const override { return inner_->isOpen(); }
  std::size_t read(std::uint8_t* buffer, std::size_t n) override;
  StatusCode write(const std::uint8_t* buffer, std::size_t n) override {
    return inner_->write(buffer, n);
  }
  void purgeReceive() override { inner_->purgeReceive(); }
  void purgeTransmit() override { inner_->purgeTransmit(); }
  bool hasGone() const override { return inner_->hasGone(); }

private:
  std::unique_ptr<SerialPort> inner_;
  double scale_;
  bool heard_ = false;
};

// The platform's ports, scaled when `scale` is below 1.
SerialPortFactory ScaledPortFactory(double scale);

} // namespace quillon::demo
