#include "pages/upload_watchdog.h"

#include "gpsload/uploader.h"
#include "link/device_link.h"

namespace quillon {

UploadWatchdog::UploadWatchdog(const Uploader& uploader, const DeviceLink& link, Clock& clock)
    : uploader_(uploader), link_(link), clock_(clock), seenBytes_(uploader.bytesSent()),
      lastMoveSecond_(clock.wholeSeconds()),
      frameLimit_(kPassLimit * uploader.image().frameCount() + kSpareFrames) {}

bool UploadWatchdog::moved() {
  const std::uint32_t bytes = uploader_.bytesSent();
  // A record taken moves the count, and so does a restart; an erase may take long with only
  // sector-erased bytes to show for it, and is left to the silence limit.
  const bool moved = bytes != seenBytes_ || uploader_.state() == Uploader::Erasing;
  seenBytes_ = bytes;
  return moved;
}

std::string_view UploadWatchdog::stallReason() {
  switch (uploader_.state()) {
  case Uploader::Inactive:
    return "the Yardmark was not connected when the upload began";
  case Uploader::BadType:
    return "the GPS boot loader refused the firmware type";
  default:
    break;
  }
  if (link_.IsPortGone())
    return "the Yardmark was disconnected";
  if (uploader_.recordFramesSent() > frameLimit_)
    return "the firmware was sent again and again without the upload finishing";
  if (uploader_.endFramesSent() > kEndFrameTries)
    return "the GPS boot loader did not take the end of the firmware";
  const std::int64_t now = clock_.wholeSeconds();
  if (std::chrono::seconds(now - uploader_.lastReplySecond()) >= kSilenceLimit)
    return "the GPS boot loader stopped answering";
  if (moved())
    lastMoveSecond_ = now;
  else if (std::chrono::seconds(now - lastMoveSecond_) >= kStandstillLimit)
    return "the GPS boot loader answered but took no firmware for a minute";
  return {};
}

} // namespace quillon
