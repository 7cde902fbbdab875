#pragma once

#include "pages/screen_check_page.h"

namespace quillon {

// Step 5: the user confirms that the Yardmark shows its ready screen before the update.
class Step5VerifyConnection final : public ScreenCheckPage {
public:
  Step5VerifyConnection();

private:
  void logMatch() override;
  void logMismatch() override;
  void logFinalMismatch() override;
};

} // namespace quillon
