#pragma once

#include <chrono>
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

  UploadWatchdog(const Uploader& uploader, const DeviceLink& link, Clock& clock)
      : uploader_(uploader), link_(link), clock_(clock) {}

  // Why the upload cannot finish, for the log; empty while it still can.
  std::string_view stallReason() const;

private:
  const Uploader& uploader_;
  const DeviceLink& link_;
  Clock& clock_;
};

} // namespace quillon
