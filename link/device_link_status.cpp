// The text of the link's last status, for the pages' error log lines.

#include "link/device_link.h"

namespace quillon {

std::string DeviceLink::GetStatusText() const {
  char text[kStatusTextBufferSize] = {};
  StatusText(lastStatus_, text);
  return text;
}

} // namespace quillon
