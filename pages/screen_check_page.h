#pragma once

#include "pages/plain_page.h"

#include <cstdint>
#include <string_view>

namespace quillon {

// What one screen check shows, says and logs. Each check has always been logged under a
// module name of its own, and the two word their YES line differently.
struct ScreenCheck {
  int step;
  int templateId;
  const char* logModule;
  const char* matchLine;
  std::string_view reminder;    // after the first two NO answers
  std::string_view finalNotice; // notice E:20, after the third
};

// Step 5: the Yardmark shows its ready screen before the update.
extern const ScreenCheck kConnectionCheck;
// Step 9: after the power cycle the Yardmark came back to its ready screen.
extern const ScreenCheck kRestartCheck;

// A page where the user compares the Yardmark's screen with a picture (steps 5 and 9). YES
// goes on; the first two NO answers of a showing give a reminder and keep the page open; the
// third ends the wizard with notice E:20. Escape counts as NO.
class ScreenCheckPage final : public PlainPage {
public:
  static constexpr int kReminders = 2;

  explicit ScreenCheckPage(const ScreenCheck& check)
      : PlainPage(check.step, check.templateId), check_(check) {}

  void onShow() override { mismatchCount = 0; }
  // Only the third NO ends the page, with notice E:20.
  WizardOutcome cancelOutcome() const override { return WizardOutcome::Failed; }

  // NO answers on the current showing.
  std::int32_t mismatchCount = 0;

private:
  void onForward(PageWindow& window) override;
  void onCancel(PageWindow& window) override;

  const ScreenCheck& check_;
};

} // namespace quillon
