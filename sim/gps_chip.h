#pragma once

#include "sim/boot_loader.h"
#include "sim/device_port.h"
#include "sim/faults.h"
#include "sim/flash_model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::sim {

// The GPS receiver chip inside the Yardmark, as far as the host can see it: its version,
// which depends on what its flash holds, its reset, and the two commands it takes through
// passthrough (only at 4800 baud: bytes at another rate are garbage to it).
//
// The chip runs its application (version, NMEA) only from a whole flash. After a load that
// stopped part-way it runs its boot loader alone: no version, no NMEA, but the update-firmware
// command through passthrough still starts a load, so the host can finish what it began.
class GpsChip {
public:
  // `firmware` is the image whose presence in flash makes the chip report the new version;
  // null when the device was given no firmware file. `loader` says whether the flash is whole.
  GpsChip(std::string oldVersion, std::string newVersion, const FlashModel& flash,
          const FlashModel* firmware, const BootLoader& loader, FaultSet& faults, DevicePort& port);

  // The Yardmark is switched on: the chip boots from its flash.
  void powerOn();
  // "KV7-i": the chip boots again; with "reset-chatter" it talks NMEA for a while.
  void reset();
  // The device takes the line back (a new command): the chip's chatter no longer reaches it.
  void stopChatter();
  // The device forwards the line: the chip's NMEA output reaches the host, one sentence a
  // second at 4800 baud, until the all-off command silences it.
  void startPassthrough();

  // The 21-byte version reply, NUL-padded; empty while the chip does not answer.
  std::vector<std::uint8_t> versionReply() const;

  // A byte through passthrough while the chip runs its receiver firmware. True when the
  // update-firmware command has arrived complete: the chip hands over to its boot loader.
  bool receive(std::uint8_t byte, int baud);

private:
  void boot();
  bool runsApplication() const { return !version_.empty(); }
  void chatter(int remaining);
  void streamNmea();
  void stopNmea();
  bool endsWith(const std::uint8_t* pattern, std::size_t size) const;

  std::string oldVersion_;
  std::string newVersion_;
  const FlashModel& flash_;
  const FlashModel* firmware_;
  const BootLoader& loader_;
  FaultSet& faults_;
  DevicePort& port_;

  std::string version_; // empty while no application runs
  bool readable_ = true;
  bool unreadableUntilPowerCycle_ = false;
  bool poweredOnBefore_ = false;
  bool nmeaOff_ = false;
  std::vector<std::uint8_t> recent_; // bytes since the last garbage, for command matching
  Scheduler::Id chatterTimer_ = 0;
  Scheduler::Id nmeaTimer_ = 0;
};

} // namespace quillon::sim
