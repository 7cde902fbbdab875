#pragma once

#include "pages/wizard_page.h"

class QWidget;

namespace quillon {

// Shows the wizard's pages as Qt windows, each built anew from its template with the main
// dialog as parent, and returns their modal results.
class QtPageRunner final : public PageRunner {
public:
  explicit QtPageRunner(QWidget* parent) : parent_(parent) {}

  int run(PlainPage& page) override;
  // The page's sequence runs to its end inside this call; the window is gone when it returns.
  int run(ProgressPage& page) override;

private:
  QWidget* parent_;
};

} // namespace quillon
