#pragma once

#include "pages/page_view.h"
#include "pages/wizard_page.h"

namespace quillon {

// An instruction page: its window shows the texts of its dialog template, and the page turns
// the user's buttons and keys into its modal result. This class is the whole behaviour of the
// pages with Next/Cancel (and Previous); the screen checks and the introduction add theirs on
// top.
class PlainPage : public WizardPage {
public:
  PlainPage(int step, int templateId);

  int templateId() const { return templateId_; }

  int runOn(PageRunner& runner) override;
  // Whether the page's window has a "<- Previous" button.
  bool hasPrevious() const override { return hasPrevious_; }
  bool wasPreviousPressed() const override { return previousPressed; }

  // The window calls these. onShow comes first on every showing, before any input.
  virtual void onShow() {}
  void onInput(PageInput input, PageWindow& window);
  // Every key-down the page's window sees, whichever control has the focus. The key always
  // goes on to normal processing afterwards.
  virtual void onKeyDown(int virtualKey, PageWindow& window);

  // Set by the two routes that end the page with Cancel on pages with a Previous button:
  // true for Previous, false for Cancel and Escape. Read by the driver after a Cancel.
  bool previousPressed = false;

protected:
  virtual void onForward(PageWindow& window);
  virtual void onCancel(PageWindow& window);

private:
  int templateId_;
  bool hasPrevious_;
};

} // namespace quillon
