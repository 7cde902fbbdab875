#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

namespace quillon {

class DeviceLink;
class Uploader;
class Clock;

// The flash loader never gives up on its own, and a golfer must never be left watching a
// frozen bar: the firmware-load page asks this after every loader step whether the upload can
// still finish.
class UploadWatchdog {
public:
  // A boot loader that has said nothing for this long is not coming back.
  static constexpr std::chrono::seconds kSilenceLimit{60};
  // A boot loader that keeps talking (hellos, resend requests, refusals, noise) but has neither
  // begun an erase nor taken a record for this long is going nowhere either.
  static constexpr std::chrono::seconds kStandstillLimit{60};
  // A boot loader that keeps taking records and starting over (a restart, a reset, a fail on
  // every pass) moves the byte count all the time: the upload gives up once it has sent the
  // image's frames this many times over, plus a few to spare for a tiny image.
  static constexpr std::uint64_t kPassLimit = 10;
  static constexpr std::uint64_t kSpareFrames = 20;
  // The end frame, each copy waited for in vain, this many times: the boot loader will not
  // take it, and the flash stays unfinished until the next run loads the firmware again.
  static constexpr std::uint64_t kEndFrameTries = 4;

  UploadWatchdog(const Uploader& uploader, const DeviceLink& link, Clock& clock);

  // Why the upload cannot finish, for the log; empty while it still can. Called after every
  // step, it also notes whether the upload has moved since the last call.
  std::string_view stallReason();

private:
  bool moved();

  const Uploader& uploader_;
  const DeviceLink& link_;
  Clock& clock_;
  std::uint32_t seenBytes_;
  std::int64_t lastMoveSecond_;
  std::uint64_t frameLimit_;
};

} // namespace quillon
