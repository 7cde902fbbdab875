#include "pages/Step5VerifyConnection.h"

#include "log/update_log.h"

namespace quillon {

Step5VerifyConnection::Step5VerifyConnection()
    : ScreenCheckPage(kStep5VerifyConnectionTexts,
                      "Please double check your connections and press OK when ready!",
                      "There is a connection error.  Please check your connections and try "
                      "running this program again.") {}

void Step5VerifyConnection::logMatch() {
  QLOG_INFO("     User has verified the screen match");
}

void Step5VerifyConnection::logMismatch() {
  QLOG_INFO("     User has verified a screen MISMATCH");
}

void Step5VerifyConnection::logFinalMismatch() {
  QLOG_ERROR("     User has verified a final screen MISMATCH  (E:20)");
}

} // namespace quillon
