#include "demo/demo_runner.h"

#include <string>

#include "demo/printing_progress_view.h"
#include "demo/run_printer.h"
#include "demo/window_watcher.h"
#include "pages/modal_result.h"
#include "pages/plain_page.h"
#include "pages/progress_page.h"
#include "ui/progress_page_window.h"
#include "ui/qt_page_runner.h"

namespace quillon::demo {
namespace {

constexpr int kFirmwareLoadStep = 6;
constexpr int kResetAndVerifyStep = 10;

int StepOf(const ProgressPage& page) {
  return &page.layout() == &kResetAndVerifyLayout ? kResetAndVerifyStep : kFirmwareLoadStep;
}

} // namespace

DemoRunner::DemoRunner(QtPageRunner& inner, WindowWatcher& watcher, RunPrinter& printer,
                       Screenshots& shots)
    : inner_(inner), watcher_(watcher), printer_(printer) {
  inner_.setProgressRun([this, &shots](ProgressPage& page, ProgressPageWindow& window) {
    PrintingProgressView view(window, window, page.layout().rowLabels, printer_, shots,
                              "step" + std::to_string(StepOf(page)));
    page.run(view);
  });
}

DemoRunner::~DemoRunner() { inner_.setProgressRun({}); }

int DemoRunner::run(PlainPage& page) {
  printer_.page(page.texts().step, page.texts().header);
  watcher_.pageStarting(page.texts().step);
  const int result = inner_.run(page);
  printer_.result(result);
  return result;
}

int DemoRunner::run(ProgressPage& page) {
  const int step = StepOf(page);
  printer_.page(step, page.layout().header);
  watcher_.pageStarting(step);
  const int result = inner_.run(page);
  printer_.result(result);
  if (step == kResetAndVerifyStep && result == modal::kOk)
    verified_ = true;
  return result;
}

} // namespace quillon::demo
