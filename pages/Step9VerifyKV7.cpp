#include "pages/Step9VerifyKV7.h"

#include "log/update_log.h"
#include "pages/notice_texts.h"

namespace quillon {

Step9VerifyKV7::Step9VerifyKV7()
    : ScreenCheckPage(kStep9VerifyKV7Texts, "Please double check your connections!",
                      kManualResetNotice) {}

void Step9VerifyKV7::logMatch() {
  QLOG_INFO("     User has verified a screen match");
}

void Step9VerifyKV7::logMismatch() {
  QLOG_INFO("     User has verified a screen MISMATCH");
}

void Step9VerifyKV7::logFinalMismatch() {
  QLOG_ERROR("     User has verified a final screen MISMATCH  (E:20)");
}

} // namespace quillon
