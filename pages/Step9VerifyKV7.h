#pragma once

#include "pages/screen_check_page.h"

namespace quillon {

// Step 9: after the power cycle the user confirms that the Yardmark came back to its ready
// screen.
class Step9VerifyKV7 final : public ScreenCheckPage {
public:
  Step9VerifyKV7();

private:
  void logMatch() override;
  void logMismatch() override;
  void logFinalMismatch() override;
};

} // namespace quillon
