#include "pages/screen_check_page.h"

#include "dialogs/dialog_template.h"
#include "log/update_log.h"
#include "pages/modal_result.h"
#include "pages/notice_texts.h"
#include "pages/wizard_steps.h"

namespace quillon {

const ScreenCheck kConnectionCheck{
    .step = step::kVerifyConnection,
    .templateId = tpl::kVerifyConnection,
    .logModule = "Step5VerifyConnection.cpp",
    .matchLine = "     User has verified the screen match",
    .reminder = "Please double check your connections and press OK when ready!",
    .finalNotice = "There is a connection error.  Please check your connections and try running "
                   "this program again.",
};

const ScreenCheck kRestartCheck{
    .step = step::kVerifyScreen,
    .templateId = tpl::kVerifyScreen,
    .logModule = "Step9VerifyKV7.cpp",
    .matchLine = "     User has verified a screen match",
    .reminder = "Please double check your connections!",
    .finalNotice = kManualResetNotice,
};

void ScreenCheckPage::onForward(PageWindow& window) {
  const char* const kLogModule = check_.logModule;
  QLOG_INFO("%s", check_.matchLine);
  window.endPage(modal::kOk);
}

void ScreenCheckPage::onCancel(PageWindow& window) {
  const char* const kLogModule = check_.logModule;
  if (mismatchCount < kReminders) {
    ++mismatchCount;
    QLOG_INFO("     User has verified a screen MISMATCH");
    window.showNotice("NOTICE", check_.reminder);
    return;
  }
  QLOG_ERROR("     User has verified a final screen MISMATCH  (E:20)");
  window.showNotice("NOTICE E:20", check_.finalNotice);
  window.endPage(modal::kCancel);
}

} // namespace quillon
