#include "pages/upload_watchdog.h"

#include "gpsload/uploader.h"
#include "link/device_link.h"

namespace quillon {

std::string_view UploadWatchdog::stallReason() const {
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
  if (std::chrono::seconds(clock_.wholeSeconds() - uploader_.lastReplySecond()) >= kSilenceLimit)
    return "the GPS boot loader stopped answering";
  return {};
}

} // namespace quillon
