#pragma once

#include "dialogs/dialog_template.h"
#include "pages/plain_page.h"
#include "pages/wizard_steps.h"

namespace quillon {

// Step 1: the introduction. YES goes on, NO ends the wizard. F9, pressed anywhere on the
// page, switches on Descriptive Logging for the rest of the run.
class IntroPage final : public PlainPage {
public:
  IntroPage() : PlainPage(step::kIntro, tpl::kIntro) {}
  void onKeyDown(int virtualKey, PageWindow& window) override;
};

} // namespace quillon
