#include "pages/device_sequence.h"

#include "link/device_link.h"
#include "log/update_log.h"

namespace quillon {

std::string DeviceSequence::statusText() const {
  return link_.GetStatusText();
}

void DeviceSequence::report(const StepFailure& failure, std::string_view detail) {
  // The line goes out under the page's own module name.
  const char* const kLogModule = logModule_;
  const std::string line = failureLogText(failure, detail);
  if (failure.errorLine)
    QLOG_ERROR("%s", line.c_str());
  else
    QLOG_INFO("%s", line.c_str());
  presentFailure(frame_, failure.notice);
}

} // namespace quillon
