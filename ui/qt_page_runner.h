#pragma once

#include <functional>
#include <utility>

#include "pages/wizard_page.h"

class QWidget;

namespace quillon {

class ProgressPageWindow;

// Shows the wizard's pages as Qt windows, each built anew from its template with the main
// dialog as parent, and returns their modal results.
class QtPageRunner final : public PageRunner {
public:
  explicit QtPageRunner(QWidget* parent) : parent_(parent) {}

  int run(PlainPage& page) override;
  // The page's sequence runs to its end inside this call; the window is gone when it returns.
  int run(ProgressPage& page) override;

  // Runs a progress page on its window in place of page.run(window), for a caller that stands
  // between the two (the demo prints and photographs what the page shows). The page's result
  // is still the window's first end request.
  using ProgressRun = std::function<void(ProgressPage&, ProgressPageWindow&)>;
  void setProgressRun(ProgressRun run) { progressRun_ = std::move(run); }

private:
  QWidget* parent_;
  ProgressRun progressRun_;
};

} // namespace quillon
