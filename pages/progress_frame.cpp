#include "pages/progress_frame.h"

#include "pages/modal_result.h"

#include <cstddef>

namespace quillon {

ProgressFrame::ProgressFrame(ProgressView& view, int rowCount)
    : view_(view), rows_(static_cast<std::size_t>(rowCount > 0 ? rowCount : 0)) {}

void ProgressFrame::begin() {
  view_.present();
  // Copied from one string: g++ 12 at -O3 warns (-Wrestrict) about assigning the view itself.
  const std::string idle(kIdle);
  for (auto& row : rows_)
    row = idle;
  statusText_.clear();
  setProgress(0);
  transfer();
  view_.setButtonEnabled(FrameButton::Ok, false);
  view_.setButtonEnabled(FrameButton::Cancel, false);
}

void ProgressFrame::setRow(int row, std::string_view text) {
  if (row < 1 || static_cast<std::size_t>(row) > rows_.size())
    return;
  rows_[static_cast<std::size_t>(row - 1)] = text;
}

void ProgressFrame::setStatus(std::string_view text) {
  statusText_ = text;
  transfer();
  view_.repaint();
}

void ProgressFrame::setProgress(int percent) {
  view_.setProgress(percent);
}

void ProgressFrame::transfer() {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    view_.setRowText(static_cast<int>(i + 1), rows_[i]);
  view_.setStatusLine(statusText_);
}

void ProgressFrame::endWith(int result) {
  if (ended())
    return;
  result_ = result;
  view_.endPage(result);
}

int ProgressFrame::result() const {
  return ended() ? result_ : modal::kCancel;
}

} // namespace quillon
