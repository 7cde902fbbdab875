#pragma once

#include "dialogs/progress_page_controls.h"
#include "pages/page_view.h"
#include "pages/wizard_page.h"

namespace quillon {

// A page that does device work on its own: it runs its whole sequence inside its window's
// initialisation, takes no input, and ends itself.
class ProgressPage : public WizardPage {
public:
  ProgressPage(int step, const ProgressPageControls& controls)
      : WizardPage(step), controls_(controls) {}

  // The window's template and the controls the sequence changes.
  const ProgressPageControls& controls() const { return controls_; }
  int rowCount() const { return static_cast<int>(controls_.rows.size()); }
  int runOn(PageRunner& runner) override { return runner.run(*this); }
  // The golfer cannot cancel a device page: it ends with Cancel only after a notice.
  WizardOutcome cancelOutcome() const override { return WizardOutcome::Failed; }

  // Runs the sequence on the window given and returns the page's result.
  virtual int run(ProgressView& view) = 0;

private:
  const ProgressPageControls& controls_;
};

} // namespace quillon
