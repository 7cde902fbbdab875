#include "pages/screen_check_page.h"

#include "pages/modal_result.h"

namespace quillon {

void ScreenCheckPage::onForward(PageWindow& window) {
  logMatch();
  window.endPage(modal::kOk);
}

void ScreenCheckPage::onCancel(PageWindow& window) {
  if (mismatchCount < kReminders) {
    ++mismatchCount;
    logMismatch();
    window.showNotice("NOTICE", reminder_);
    return;
  }
  logFinalMismatch();
  window.showNotice("NOTICE E:20", finalNotice_);
  window.endPage(modal::kCancel);
}

} // namespace quillon
