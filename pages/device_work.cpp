#include "pages/device_work.h"

#include "log/update_log.h"

namespace quillon {
namespace {

constexpr char kLogModule[] = "DeviceWork.cpp";

// What a second run finds after a stop while the firmware was loaded or checked: the GPS
// chip's version says whether the new firmware is whole.
constexpr std::string_view kRunAgainChecks =
    "switch the Yardmark off and on and run the program again: it reads the GPS version and "
    "ends with E:13 when the new firmware is in place, or loads it again";

} // namespace

void DeviceWorkRecord::hold() {
  if (held_.load())
    return;
  std::string why = "this program has no way to hold it back here";
  if (hold_ == nullptr || !hold_->take(why)) {
    QLOG_DEVINFO("     The computer may sleep or shut down during the load: %s", why.c_str());
    return;
  }
  held_.store(true);
  QLOG_DEVINFO("     Sleep and shutdown held back: %s", PowerHold::kReason);
}

void DeviceWorkRecord::letGo() {
  if (!held_.exchange(false))
    return;
  hold_->release();
  QLOG_DEVINFO("     Sleep and shutdown allowed again");
}

std::string DeviceWorkRecord::interruptionLine(std::string_view cause) const {
  std::string step;
  std::string rest;
  switch (current()) {
  case DeviceWork::None:
    return {};
  case DeviceWork::Checking:
    step = "6";
    rest = "while checking the Yardmark, before its GPS firmware was touched: run the program "
           "again, which checks the Yardmark and loads the firmware";
    break;
  case DeviceWork::Preparing:
    step = "6";
    rest = "while preparing the GPS chip for loading, before its flash was erased: switch the "
           "Yardmark off and on and run the program again, which loads the firmware";
    break;
  case DeviceWork::Writing:
    step = "6";
    rest = "while loading the firmware, so the GPS chip may hold only part of it: switch the "
           "Yardmark off and on and run the program again, which finds the GPS without a "
           "version and loads the firmware again";
    break;
  case DeviceWork::Finishing:
    step = "6";
    rest = "after the firmware was loaded: " + std::string(kRunAgainChecks);
    break;
  case DeviceWork::Verifying:
    step = "10";
    rest = "while checking the new GPS version: " + std::string(kRunAgainChecks);
    break;
  }
  return "Step " + step + " interrupted by " + std::string(cause) + " " + rest;
}

void DeviceWorkRecord::logInterruption(std::string_view cause) const {
  const std::string line = interruptionLine(cause);
  if (!line.empty())
    QLOG_ERROR("%s", line.c_str());
}

DeviceWorkRecord& deviceWork() {
  static DeviceWorkRecord record;
  return record;
}

} // namespace quillon
