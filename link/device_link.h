#pragma once

#include "base/clock.h"
#include "base/loader_link.h"
#include "base/status_codes.h"
#include "link/serial_port.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// Where the device stands in its protocol.
enum LinkMode : std::int32_t {
  ModeIdle = 0,        // discovery has run, or the device left command mode: a hello is allowed
  ModeInitial = 1,     // before any discovery: every command is refused
  ModeCommand = 2,     // the device answered the hello and takes the KV7 commands
  ModePassthrough = 3, // the device forwards the line to its GPS chip
};

// The one serial link to the Yardmark: the channel, discovery, the device's commands and the
// GPS passthrough commands. Every operation that reports a result returns a StatusCode and
// keeps it in lastStatus. Every pause goes through the Clock. One thread, one operation at a
// time. The implementation is split over device_link_*.cpp by concern.
class DeviceLink final : public LoaderLink {
public:
  // Paths can be longer than the 15 bytes a Windows COM name needs; a POSIX device path or a
  // test's symbolic link must fit whole.
  static constexpr std::size_t kPortNameSize = 260;

  explicit DeviceLink(Clock& clock, SerialPortFactory portFactory = MakePlatformSerialPort);
  ~DeviceLink() override; // ClosePort
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  // Discovery tries these paths, in this order, instead of the system's serial devices.
  void setCandidatePorts(std::vector<std::string> paths);

  // Serial channel.
  std::unique_ptr<SerialPort> OpenPort(const std::string& path);
  void ClosePort();
  std::size_t ReadBytes(std::uint8_t* buffer, std::size_t n);
  StatusCode WriteBytes(const std::uint8_t* buffer, std::size_t n) override;
  StatusCode WriteByte(int value) override;
  StatusCode ReadByte(int& out) override;
  StatusCode PurgeReceive() override;
  StatusCode PurgeTransmit() override;
  bool IsPortFound() const override { return portFound; }
  StatusCode SendText(const char* text);
  StatusCode ExpectReply(const char* expected);
  StatusCode SetBaud4800();
  StatusCode SetBaud115200();
  // True once the open port reported a hang-up or I/O error (the cable was pulled). Owners
  // ask this so that nobody spins on a port that can no longer answer.
  bool IsPortGone() const;

  // Discovery.
  StatusCode FindDevice();
  StatusCode EnterCommandMode();

  // Device commands.
  StatusCode SendCommand(const char* text);
  StatusCode ReadDeviceInfo();
  StatusCode ReadGpsVersion();
  StatusCode ResetGps();
  StatusCode StartGpsPassthrough();
  StatusCode ShutDown();
  StatusCode ExitGpsPassthrough();
  static constexpr std::size_t kBatteryLevelOutSize = 5;
  static constexpr std::size_t kApplicationVersionOutSize = 6;
  static constexpr std::size_t kGpsVersionOutSize = 22;
  StatusCode GetBatteryLevel(char* out) const; // out: at least kBatteryLevelOutSize bytes
  StatusCode GetApplicationVersion(char* out); // out: at least kApplicationVersionOutSize
  StatusCode GetGpsVersion(char* out);         // out: at least kGpsVersionOutSize bytes
  static std::int32_t TextToInt(const char* text);

  // GPS passthrough commands.
  StatusCode PrepareGpsForLoad();

  // Status text of lastStatus; buffer holds at least kStatusTextBufferSize bytes.
  bool GetStatusText(char* buffer) const;

  // Fields, in the order the device protocol describes them; read by tests and pages.
  std::array<char, 17> identity{};
  std::array<char, 50> gpsVersion{};
  std::array<char, 5> batteryLevel{};
  std::array<char, kPortNameSize> portName{};
  std::array<char, 6> applicationVersion{};
  std::int32_t highSpeed = 1;
  LinkMode mode = ModeInitial;
  bool portFound = false;
  std::unique_ptr<SerialPort> port;
  StatusCode lastStatus = KV7SUCCESS;
  int baudRate = 115200; // the line setting last applied to port (the DCB's BaudRate)

private:
  void purgePort();   // receive purge, then transmit purge
  bool commandGate(); // sets lastStatus to 2 or 6 and returns false when a command is refused
  StatusCode report(StatusCode code) {
    lastStatus = code;
    return code;
  }
  void pause(std::chrono::milliseconds duration);
  StatusCode setBaud(int baud, std::int32_t highSpeedAfter);
  // Writes `count` bytes one write each; the first failing write ends it with `failure`.
  StatusCode writeByteByByte(const std::uint8_t* bytes, std::size_t count, StatusCode failure);

  Clock& clock_;
  SerialPortFactory portFactory_;
  std::optional<std::vector<std::string>> candidates_;
};

} // namespace quillon
