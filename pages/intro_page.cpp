#include "pages/intro_page.h"

#include "log/update_log.h"

namespace quillon {
namespace {
constexpr char kLogModule[] = "Step1Intro.cpp";
constexpr int kDescriptiveLogging = 3;
} // namespace

void IntroPage::onKeyDown(int virtualKey, PageWindow& window) {
  if (virtualKey != kVirtualKeyF9)
    return;
  window.showNotice("NOTICE", "Descriptive Logging has been turned ON.");
  updateLog().setLevel(kDescriptiveLogging);
  // Support staff search the log for this line as it has always been spelt.
  QLOG_INFO("    Discriptive Logging has been Turned ON.");
}

} // namespace quillon
