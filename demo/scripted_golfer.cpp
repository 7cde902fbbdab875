#include "demo/scripted_golfer.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "demo/device_process.h"
#include "demo/run_printer.h"
#include "ui/plain_page_window.h"

namespace quillon::demo {
namespace {

constexpr int kTurnOffStep = 7;
constexpr int kTurnOnStep = 8;

int ButtonOf(PageInput input) {
  switch (input) {
  case PageInput::Cancel:
    return ids::kCancel;
  case PageInput::Previous:
    return ids::kPrevious;
  default:
    return ids::kOk;
  }
}

std::string LabelOf(const QPushButton& button) {
  return button.text().remove(QLatin1Char('&')).toStdString();
}

} // namespace

void ScriptedGolfer::answer(PlainPageWindow& window, int step) {
  PageInput input = script_.next(step);
  auto* button = window.controlAs<QPushButton>(ButtonOf(input));
  if (!button || !button->isEnabled()) {
    printer_.golfer("cannot press that button here; goes forward instead");
    input = PageInput::Forward;
    button = window.controlAs<QPushButton>(ids::kOk);
  }
  if (input == PageInput::Forward)
    doWhatThePageAsks(step);
  printer_.golfer(LabelOf(*button));
  QPointer<PlainPageWindow> page(&window);
  button->click();
  // A reminder notice leaves the page up, waiting for the next answer.
  if (page && page->isVisible())
    QTimer::singleShot(0, page, [this, page, step] { answer(*page, step); });
}

void ScriptedGolfer::dismiss(QMessageBox& box) {
  if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
    printer_.golfer("OK");
    ok->click();
  }
}

void ScriptedGolfer::doWhatThePageAsks(int step) {
  if (step != kTurnOffStep && step != kTurnOnStep)
    return;
  if (!device_) {
    printer_.golfer(step == kTurnOffStep ? "(switch the Yardmark off now)"
                                         : "(switch the Yardmark on now)");
    return;
  }
  const QString state = step == kTurnOffStep ? device_->powerOff() : device_->powerOn();
  printer_.golfer((step == kTurnOffStep ? "switches the Yardmark off: " : "switches the Yardmark on: ") +
                  (state.isEmpty() ? std::string("no answer from the device") : state.toStdString()));
}

} // namespace quillon::demo
