#pragma once

#include "pages/page_view.h"
#include "pages/wizard_page.h"

#include <span>
#include <string_view>

namespace quillon {

// What the window of a progress page shows besides its rows' states, as data for the Qt
// layer and the tests.
struct ProgressPageLayout {
  int templateId;
  std::string_view caption;
  int headerControl;
  std::string_view header;
  std::string_view instructions;
  std::string_view warning; // red on yellow, control 1029
  std::span<const std::string_view> rowLabels;
  std::span<const int> rowControls;
  int statusControl;
  int progressControl;
  std::string_view progressLabel;
};

extern const ProgressPageLayout kFirmwareLoadLayout;
extern const ProgressPageLayout kResetAndVerifyLayout;

// A page that does device work on its own: it runs its whole sequence inside its window's
// initialisation, takes no input, and ends itself.
class ProgressPage : public WizardPage {
public:
  explicit ProgressPage(const ProgressPageLayout& layout) : layout_(layout) {}

  const ProgressPageLayout& layout() const { return layout_; }
  int runOn(PageRunner& runner) override { return runner.run(*this); }

  // Runs the sequence on the window given and returns the page's result.
  virtual int run(ProgressView& view) = 0;

private:
  const ProgressPageLayout& layout_;
};

} // namespace quillon
