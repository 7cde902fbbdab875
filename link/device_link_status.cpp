// The text of the link's last status, for the pages' error log lines.

#include "link/device_link.h"

namespace quillon {

bool DeviceLink::GetStatusText(char* buffer) const {
  return StatusText(lastStatus_, buffer);
}

} // namespace quillon
