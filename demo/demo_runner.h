#pragma once

#include "pages/wizard_page.h"

namespace quillon {
class QtPageRunner;
}

namespace quillon::demo {

class RunPrinter;
class Screenshots;
class WindowWatcher;

// Shows the pages through the Qt page runner, and around each one prints the page as it
// appears and how it ended. It remembers whether step 10 verified the new version, which is
// the demo's verdict (the driver itself ends the same way in every path).
class DemoRunner final : public PageRunner {
public:
  DemoRunner(QtPageRunner& inner, WindowWatcher& watcher, RunPrinter& printer, Screenshots& shots);
  ~DemoRunner() override;
  DemoRunner(const DemoRunner&) = delete;
  DemoRunner& operator=(const DemoRunner&) = delete;

  int run(PlainPage& page) override;
  int run(ProgressPage& page) override;

  bool verified() const { return verified_; }

private:
  QtPageRunner& inner_;
  WindowWatcher& watcher_;
  RunPrinter& printer_;
  bool verified_ = false;
};

} // namespace quillon::demo
