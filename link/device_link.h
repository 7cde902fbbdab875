#pragma once

#include "base/clock.h"
#include "base/loader_link.h"
#include "base/status_codes.h"
#include "link/port_trial.h"
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
// keeps it as lastStatus(). Every pause goes through the Clock. One thread, one operation at a
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

  // Serial channel. A failed open leaves why in lastPortFailure().
  std::unique_ptr<SerialPort> OpenPort(const std::string& path);
  void ClosePort();
  std::size_t ReadBytes(std::uint8_t* buffer, std::size_t n);
  StatusCode WriteBytes(const std::uint8_t* buffer, std::size_t n) override;
  StatusCode WriteByte(int value) override;
  StatusCode ReadByte(int& out) override;
  StatusCode PurgeReceive() override;
  StatusCode PurgeTransmit() override;
  bool IsPortFound() const override { return portFound_; }
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
  // Every port the last FindDevice tried, in the order it tried them, and what came of each.
  const std::vector<PortTrial>& portsTried() const { return portsTried_; }

  // Device commands.
  StatusCode SendCommand(const char* text);
  StatusCode ReadDeviceInfo();
  StatusCode ReadGpsVersion();
  StatusCode ResetGps();
  StatusCode StartGpsPassthrough();
  StatusCode ShutDown();
  StatusCode ExitGpsPassthrough();
  // The battery level text with the record's line feed; empty before the first
  // ReadDeviceInfo. lastStatus is left alone.
  std::string GetBatteryLevel() const;
  // Nothing, with lastStatus 16 or 17, until the device has sent the version.
  std::optional<std::string> GetApplicationVersion();
  std::optional<std::string> GetGpsVersion();
  static std::int32_t TextToInt(const char* text);

  // GPS passthrough commands.
  StatusCode PrepareGpsForLoad();

  // The text of lastStatus(), as the pages log it ("Undefined error" for a code without one).
  std::string GetStatusText() const;

  // What the link knows, read-only. The device's texts are zero-terminated inside their fields
  // and empty until the device sent them.
  StatusCode lastStatus() const { return lastStatus_; }
  // Why the port failed when it last failed: the system's side of a status such as 26 or 19.
  // Discovery clears it before each greeting, so that each port's trial holds its own.
  const PortResult& lastPortFailure() const { return lastPortFailure_; }
  LinkMode mode() const { return mode_; }
  // The line speed last applied to the link's port (115200 before the first).
  int baudRate() const { return baudRate_; }
  // 1 while the line runs at 115200 baud, 0 at 4800: the GPS chip's commands wait for 0.
  std::int32_t highSpeed() const;
  bool hasPort() const { return port_ != nullptr; }
  // The path of the port the device was found on, "NOT FOUND" before.
  const std::array<char, kPortNameSize>& portName() const { return portName_; }
  const std::array<char, 17>& identity() const { return identity_; }
  const std::array<char, 50>& gpsVersion() const { return gpsVersion_; }
  // True when the last ReadGpsVersion had its command echoed and then not one byte of a
  // version while the line stayed up: the device answers, its GPS chip does not.
  bool gpsVersionUnanswered() const { return gpsVersionUnanswered_; }
  const std::array<char, 5>& batteryLevel() const { return batteryLevel_; }
  const std::array<char, 6>& applicationVersion() const { return applicationVersion_; }

private:
  void purgePort();   // receive purge, then transmit purge
  bool commandGate(); // sets lastStatus to 2 or 6 and returns false when a command is refused
  StatusCode report(StatusCode code) {
    lastStatus_ = code;
    return code;
  }
  // The one place a port's failure becomes a status code: keeps the failure, reports the
  // code of the step it struck.
  enum class PortStep { Open, Timeouts, LineSettings, Write };
  StatusCode reportPortFailure(PortStep step, const PortFailure& failure);
  // A text the device sent, with 0; or nothing, with `whenNone`, while it sent none.
  std::optional<std::string> reportStored(std::string text, StatusCode whenNone);
  StatusCode reportWrite(const PortResult& written) {
    return written ? reportPortFailure(PortStep::Write, *written) : report(KV7SUCCESS);
  }
  void pause(std::chrono::milliseconds duration);
  StatusCode setBaud(int baud);
  // Writes `count` bytes one write each; the first failing write ends it with `failure`.
  StatusCode writeByteByByte(const std::uint8_t* bytes, std::size_t count, StatusCode failure);

  // The exchange behind the hello and the commands, on a given port: discovery says hello on
  // each candidate before one of them becomes the link's port.
  static void purge(SerialPort& on);
  StatusCode sendText(SerialPort& on, const char* text);
  StatusCode expectReply(SerialPort& on, const char* expected);
  // The hello and its reply; command mode when the device answered.
  StatusCode hello(SerialPort& on);
  // Opens every candidate port; those that opened, each with the index of its trial.
  struct OpenCandidate {
    std::unique_ptr<SerialPort> port;
    std::size_t trial;
  };
  std::vector<OpenCandidate> openCandidates(const std::vector<std::string>& paths);

  Clock& clock_;
  SerialPortFactory portFactory_;
  std::optional<std::vector<std::string>> candidates_;

  // In the order the device protocol describes them.
  std::array<char, 17> identity_{};
  std::array<char, 50> gpsVersion_{};
  std::array<char, 5> batteryLevel_{};
  std::array<char, kPortNameSize> portName_{};
  std::array<char, 6> applicationVersion_{};
  LinkMode mode_ = ModeInitial;
  bool portFound_ = false;
  bool gpsVersionUnanswered_ = false;
  std::unique_ptr<SerialPort> port_;
  StatusCode lastStatus_ = KV7SUCCESS;
  PortResult lastPortFailure_;
  // The line setting last applied to port (the DCB's BaudRate); highSpeed() is read from it.
  int baudRate_ = 115200;
  std::vector<PortTrial> portsTried_;
};

} // namespace quillon
