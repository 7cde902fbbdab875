#include "demo/demo_runner.h"

#include <string>

#include "demo/printing_progress_view.h"
#include "demo/run_printer.h"
#include "demo/window_watcher.h"
#include "dialogs/dialog_template.h"
#include "pages/modal_result.h"
#include "pages/plain_page.h"
#include "pages/progress_page.h"
#include "ui/progress_page_window.h"
#include "ui/qt_page_runner.h"

namespace quillon::demo {
namespace {

constexpr int kResetAndVerifyStep = 10;

// The step title the page's window shows.
std::string_view TitleOf(int templateId) {
  const DialogTemplate* window = FindDialogTemplate(templateId);
  return window != nullptr ? window->title() : std::string_view{};
}

} // namespace

DemoRunner::DemoRunner(QtPageRunner& inner, WindowWatcher& watcher, RunPrinter& printer,
                       Screenshots& shots)
    : inner_(inner), watcher_(watcher), printer_(printer) {
  inner_.setProgressRun([this, &shots](ProgressPage& page, ProgressPageWindow& window) {
    PrintingProgressView view(window, window, page.controls().rows, printer_, shots,
                              "step" + std::to_string(page.step()));
    page.run(view);
  });
}

DemoRunner::~DemoRunner() { inner_.setProgressRun({}); }

int DemoRunner::run(PlainPage& page) {
  printer_.page(page.step(), TitleOf(page.templateId()));
  watcher_.pageStarting(page.step());
  const int result = inner_.run(page);
  printer_.result(result);
  return result;
}

int DemoRunner::run(ProgressPage& page) {
  const int step = page.step();
  printer_.page(step, TitleOf(page.controls().templateId));
  watcher_.pageStarting(step);
  const int result = inner_.run(page);
  printer_.result(result);
  if (step == kResetAndVerifyStep && result == modal::kOk)
    verified_ = true;
  return result;
}

} // namespace quillon::demo
