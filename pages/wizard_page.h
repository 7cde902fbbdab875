#pragma once

#include "pages/wizard_outcome.h"

namespace quillon {

class PlainPage;
class ProgressPage;

// Shows one page modally and returns its modal result (modal_result.h). A window layer builds
// the page's window from the page's dialog template and wires it to the page; tests script
// the user.
class PageRunner {
public:
  virtual ~PageRunner() = default;
  virtual int run(PlainPage& page) = 0;
  virtual int run(ProgressPage& page) = 0;
};

// One of the eleven pages the driver owns for the whole run.
class WizardPage {
public:
  explicit WizardPage(int step) : step_(step) {}
  virtual ~WizardPage() = default;

  // The step number the page shows, 1 to 11.
  int step() const { return step_; }
  virtual int runOn(PageRunner& runner) = 0;
  // Pages with a "<- Previous" button report whether it ended their last showing.
  virtual bool hasPrevious() const { return false; }
  virtual bool wasPreviousPressed() const { return false; }
  // What a Cancel that ends the wizard on this page means: on most pages the golfer's own
  // answer; a page that ends itself with Cancel only after a numbered notice says Failed.
  virtual WizardOutcome cancelOutcome() const { return WizardOutcome::Cancelled; }

private:
  int step_;
};

} // namespace quillon
