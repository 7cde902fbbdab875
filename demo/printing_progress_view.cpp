#include "demo/printing_progress_view.h"

#include <algorithm>
#include <utility>

#include "demo/run_printer.h"
#include "demo/screenshots.h"

namespace quillon::demo {

constexpr int kProgressStep = 10;

PrintingProgressView::PrintingProgressView(ProgressView& window, QWidget& widget,
                                           std::span<const ProgressRow> rows,
                                           RunPrinter& printer, Screenshots& shots,
                                           std::string shotName)
    : window_(window), widget_(widget), rows_(rows), printer_(printer), shots_(shots),
      shotName_(std::move(shotName)), rowTexts_(rows.size()) {}

void PrintingProgressView::setRowText(int row, std::string_view text) {
  window_.setRowText(row, text);
  if (row < 1 || static_cast<std::size_t>(row) > rowTexts_.size())
    return;
  const auto index = static_cast<std::size_t>(row - 1);
  if (rowTexts_[index] == text)
    return;
  rowTexts_[index] = text;
  printer_.row(rows_[index].label, text);
}

void PrintingProgressView::setStatusLine(std::string_view text) {
  window_.setStatusLine(text);
  if (status_ == text)
    return;
  status_ = text;
  printer_.status(text);
}

void PrintingProgressView::setProgress(int percent) {
  window_.setProgress(percent);
  const int tens = std::clamp(percent, 0, 100) / kProgressStep;
  if (tens == progressTens_)
    return;
  progressTens_ = tens;
  printer_.progress(tens * kProgressStep);
}

void PrintingProgressView::endPage(int result) {
  if (!ended_) {
    ended_ = true;
    if (!shots_.take(widget_, shotName_))
      printer_.line("screenshot of " + shotName_ + " NOT written");
  }
  window_.endPage(result);
}

} // namespace quillon::demo
