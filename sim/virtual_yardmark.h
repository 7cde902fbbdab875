#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillon::sim {

// What the virtual device shows and which faults it plays. Faults are asked for by name,
// "name" or "name=argument" (for example "no-echo=KV7-1", "unplug=KV7-G", "fail=3"); the
// names are listed by FaultHelp() and refused by Validate() when unknown.
struct YardmarkOptions {
  std::string battery = "085";               // 3 characters, bytes 0..2 of the device record
  std::string identity = "YM-KV7 000012345"; // 16 characters, bytes 4..19
  std::string appVersion = "1.234";          // 5 characters, bytes 33..37
  // The GPS version the chip reports before an update (up to 21 characters; the host expects
  // it to begin "$P").
  std::string gpsVersion = "$PASHR,VER,GPS,1.0.00";
  // The GPS version the chip reports after a power cycle when its flash holds exactly the
  // firmware file's data.
  std::string newGpsVersion = "$PASHR,VER,GPS,2.0.00";
  std::string firmwarePath;  // the image the flash should end up holding
  std::string flashDumpPath; // written when the device stops, as S3 records
  double timeScale = 1.0;    // multiplies every delay of the device
  bool pace = false;         // send and account bytes at the line rate
  // Boot loader: time to erase one flash sector (one 0x8F each), time to program one record.
  std::chrono::milliseconds erasePace{50};
  std::chrono::milliseconds programDelay{0};
  // Answer at once, as a real boot loader may: no erase pace and no pause after a reset, so
  // that a frame's acceptance and the programming's answer leave back to back, and every
  // answer of more than one byte leaves in two writes, one right behind the other, so that
  // the host may read it in two reads; the serving thread runs at real-time priority where
  // the system allows, so that a busy machine does not delay the answers. A host that empties
  // its input after a request instead of before it loses these answers.
  bool prompt = false;
  bool poweredOn = true;
  std::vector<std::string> faults;
  // Called on the device's own thread the first time each fault of `faults` strikes, with the
  // fault as it was asked for. It must not call back into the device.
  std::function<void(const std::string& fault)> onFaultStruck;
};

// The device's state, as the demo window shows it.
enum class DeviceState { Off, Ready, Command, Passthrough, BootLoader, Flashing, Done, Unplugged };

// The Yardmark handheld played on the master side of a pseudo-terminal (or on a real serial
// port): the hello, the five commands, passthrough to a GPS chip and the chip's boot loader.
// It serves on a thread of its own until stopped.
class VirtualYardmark {
public:
  explicit VirtualYardmark(YardmarkOptions options);
  ~VirtualYardmark();
  VirtualYardmark(const VirtualYardmark&) = delete;
  VirtualYardmark& operator=(const VirtualYardmark&) = delete;

  // Empty when the options are usable, otherwise what is wrong with them.
  static std::string Validate(const YardmarkOptions& options);
  static std::string FaultHelp();

  // Creates the pseudo-terminal and starts serving; when linkPath is given, a symbolic link
  // there points at the slave. False, with error() set, when it cannot.
  bool start(const std::string& linkPath = "");
  // Serves on a real serial port instead (null-modem test).
  bool startOnPort(const std::string& devicePath);
  void stop();

  // The path the host opens; it changes when the cable is plugged back in.
  const std::string& slavePath() const;
  const std::string& error() const;

  void powerOff();
  void powerOn();
  void unplug(); // closes the line: the host sees a hang-up
  // Plugs the pulled cable back in (pseudo-terminals only): the host finds the device on a
  // new slave, under the same link when start() was given one; the device is switched off
  // and keeps its flash. False, with error() set, when it cannot.
  bool plugIn();

  DeviceState state() const;
  // Data bytes programmed so far in the current transfer (since the last erase or boot-loader
  // reset), for a progress display.
  std::uint32_t programmedBytes() const;
  // Frames the boot loader accepted since start: erase, record and end frames (tests check
  // "no frame sent").
  int framesReceived() const;
  // The flash as the boot loader holds it: programmed bytes by address.
  bool
  flashEquals(const std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>& image) const;
  bool writeFlashDump(const std::string& path) const;
  // The baud rate the host last set on the line, as the device sees it.
  int lineBaud() const;
  // True when the device has read and acted on the `hostSent` bytes the host sent since the
  // device started or its cable was last plugged in (what went to a pulled cable is lost), and
  // done and sent everything that was due by now: a test host that runs faster than real time
  // waits for this in its pauses, as a real device would have kept time with it. (A
  // pseudo-terminal hands bytes over a moment after they were written, later on a busy
  // machine, so an empty queue alone does not tell.)
  bool caughtUp(std::uint64_t hostSent) const;
  // The faults that struck since start, as they were asked for, in the order asked: a fault
  // asked for but missing here was never played.
  std::vector<std::string> struckFaults() const;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

} // namespace quillon::sim
