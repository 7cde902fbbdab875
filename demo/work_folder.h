#pragma once

#include <QString>

namespace quillon::demo {

// The folder the demo runs the wizard in, as a golfer's download folder would be: Orbfix.dat
// naming the sample firmware beside it. What is already there is used as it is.
struct WorkFolder {
  static constexpr auto kOrbfix = "Orbfix.dat";
  static constexpr auto kFirmware = "gps_firmware.mot";
  static constexpr auto kFlashDump = "flash-dump.mot";
  static constexpr auto kLog = "Orbfix.log";

  QString path;         // absolute
  QString firmwarePath; // the file Orbfix.dat names, absolute; empty when the wizard refuses it
  QString error;        // why the folder could not be prepared
  bool writable = true; // false: the device's line and flash dump cannot be kept here

  // Prepares `directory` (created when missing) or, when empty, a new temporary folder that
  // is left behind for the golfer to read. `targetGpsVersion` is the version Orbfix.dat
  // expects the firmware to install when the demo writes it.
  static WorkFolder Prepare(const QString& directory, const QString& targetGpsVersion);

  QString file(const char* name) const;
};

} // namespace quillon::demo
