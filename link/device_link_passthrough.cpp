// Through passthrough, the two commands that ready the GPS chip for a firmware load: silence
// its NMEA output, then start its boot loader. Nothing is read back; the loader speaks first.

#include "link/device_link.h"
#include "link/device_protocol.h"

#include <array>

namespace quillon {

namespace {

// "$PASHS,NME,ALL,A,OFF" CR LF: every NMEA sentence off, so the boot loader's replies are not
// lost in position reports.
constexpr std::array<std::uint8_t, 22> kAllOff{'$', 'P', 'A', 'S', 'H',  'S', ',', 'N',
                                               'M', 'E', ',', 'A', 'L',  'L', ',', 'A',
                                               ',', 'O', 'F', 'F', '\r', '\n'};
// "$$" then 00 07 0A 00 0D: the chip's update-firmware command. No checksum, no LF.
constexpr std::array<std::uint8_t, 7> kUpdateFirmware{'$', '$', 0x00, 0x07, 0x0A, 0x00, '\r'};
static_assert(kAllOff.size() + kUpdateFirmware.size() == 29);

// The chip needs this long to stop its output before it takes the next command.
constexpr std::chrono::milliseconds kBetweenCommands{500};

} // namespace

StatusCode DeviceLink::writeByteByByte(const std::uint8_t* bytes, std::size_t count,
                                       StatusCode failure) {
  for (std::size_t i = 0; i < count; ++i) {
    if (WriteBytes(bytes + i, 1) != KV7SUCCESS)
      return report(failure);
  }
  return report(KV7SUCCESS);
}

StatusCode DeviceLink::PrepareGpsForLoad() {
  if (!portFound_)
    return report(KV7NOTFOUND);
  if (mode_ != ModePassthrough)
    return report(KV7INCORRECTMODE);
  // The chip listens at 4800 baud until its boot loader runs.
  if (highSpeed() != 0)
    return report(KV7INVALIDBAUDRATE);
  // One byte per write: the chip's receiver takes the command as it would from a keyboard.
  if (writeByteByByte(kAllOff.data(), kAllOff.size(), KV7GPSALLOFFNOTSENT) != KV7SUCCESS)
    return lastStatus_;
  pause(kBetweenCommands);
  if (writeByteByByte(kUpdateFirmware.data(), kUpdateFirmware.size(),
                      KV7GPSUPDATEFIRMWARENOTSENT) != KV7SUCCESS)
    return lastStatus_;
  PurgeReceive(); // the tail of the chip's NMEA output
  return report(KV7SUCCESS);
}

} // namespace quillon
