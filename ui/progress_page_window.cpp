#include "ui/progress_page_window.h"

#include "ui/accessible_text.h"
#include "ui/notice_box.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace quillon {

ProgressPageWindow::ProgressPageWindow(const DialogTemplate& dialogTemplate,
                                       const ProgressPageControls& controls, QWidget* parent)
    : TemplateDialog(dialogTemplate, parent),
      rows_(controls.rows),
      statusLine_(controlAs<QLabel>(controls.statusControl)),
      progress_(controlAs<QProgressBar>(controls.progressControl)) {
  setWindowModality(Qt::ApplicationModal);
}

void ProgressPageWindow::present() {
  CentreOnOwnerOrScreen(*this);
  show();
  pump(); // let the window system map it before the first paint
  repaint();
}

void ProgressPageWindow::setRowText(int row, std::string_view text) {
  if (row < 1 || static_cast<std::size_t>(row) > rows_.size())
    return;
  const int id = rows_[static_cast<std::size_t>(row - 1)].stateControl;
  auto* label = controlAs<QLabel>(id);
  if (!label)
    return;
  label->setText(ToQString(text));
  // The row is read with its label, and the new name is announced.
  SetAccessibleText(
      *label, ControlAccessibleText(dialogTemplate(), *dialogTemplate().findControl(id)), text);
}

void ProgressPageWindow::setStatusLine(std::string_view text) {
  if (statusLine_)
    statusLine_->setText(ToQString(text));
}

void ProgressPageWindow::setProgress(int percent) {
  // The bar's range is 0 to 100; a value beyond it shows as a full (or empty) bar rather than
  // being ignored.
  if (progress_)
    progress_->setValue(std::clamp(percent, 0, 100));
}

void ProgressPageWindow::repaint() { QWidget::repaint(); }

void ProgressPageWindow::setButtonEnabled(FrameButton button, bool enabled) {
  if (auto* b = controlAs<QPushButton>(button == FrameButton::Ok ? ids::kOk : ids::kCancel))
    b->setEnabled(enabled);
}

// Every event is handled, so the window paints and answers the window manager; the golfer's
// clicks and keys are taken here and dropped, not kept for later, so that a key pressed during
// the upload cannot answer the next page.
void ProgressPageWindow::pump() {
  QCoreApplication::instance()->installEventFilter(this);
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(this);
}

bool ProgressPageWindow::eventFilter(QObject* /*watched*/, QEvent* event) {
  return event->isInputEvent();
}

void ProgressPageWindow::showNotice(std::string_view caption, std::string_view text) {
  ShowNotice(this, caption, text);
}

void ProgressPageWindow::endPage(int result) {
  if (!result_)
    result_ = result;
}

void ProgressPageWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

} // namespace quillon
