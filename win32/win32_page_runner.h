#pragma once

#include "pages/wizard_page.h"

#include <windows.h>

namespace quillon {

// Shows the wizard's pages as Win32 dialogs, each built anew from its template with the main
// dialog as owner, and returns their modal results.
class Win32PageRunner final : public PageRunner {
public:
  explicit Win32PageRunner(HWND owner) : owner_(owner) {}

  int run(PlainPage& page) override;
  // The page's sequence runs to its end inside this call; the window is gone when it returns.
  int run(ProgressPage& page) override;

private:
  HWND owner_;
};

} // namespace quillon
