#pragma once

namespace quillon {

class PlainPage;
class ProgressPage;

// Shows one page modally and returns its modal result (modal_result.h). The Qt layer builds
// the page's window from the page's texts and wires it to the page; tests script the user.
class PageRunner {
public:
  virtual ~PageRunner() = default;
  virtual int run(PlainPage& page) = 0;
  virtual int run(ProgressPage& page) = 0;
};

// One of the eleven pages the driver owns for the whole run.
class WizardPage {
public:
  virtual ~WizardPage() = default;
  virtual int runOn(PageRunner& runner) = 0;
  // Pages with a "<- Previous" button report whether it ended their last showing.
  virtual bool hasPrevious() const { return false; }
  virtual bool wasPreviousPressed() const { return false; }
};

} // namespace quillon
