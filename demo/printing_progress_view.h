#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/progress_page_controls.h"
#include "pages/page_view.h"

class QWidget;

namespace quillon::demo {

class RunPrinter;
class Screenshots;

// Stands between a progress page and its window: every call reaches the window unchanged, and
// what the golfer would see change is printed: a row's state, the status line, the progress
// bar in steps of ten. When the page asks to end, the window is photographed as it stands, so
// the picture holds the page's final rows and status.
class PrintingProgressView final : public ProgressView {
public:
  PrintingProgressView(ProgressView& window, QWidget& widget, std::span<const ProgressRow> rows,
                       RunPrinter& printer, Screenshots& shots, std::string shotName);

  void present() override { window_.present(); }
  void setRowText(int row, std::string_view text) override;
  void setStatusLine(std::string_view text) override;
  void setProgress(int percent) override;
  void repaint() override { window_.repaint(); }
  void setButtonEnabled(FrameButton button, bool enabled) override {
    window_.setButtonEnabled(button, enabled);
  }
  void pump() override { window_.pump(); }
  void showNotice(std::string_view caption, std::string_view text) override {
    window_.showNotice(caption, text);
  }
  void endPage(int result) override;

private:
  ProgressView& window_;
  QWidget& widget_;
  std::span<const ProgressRow> rows_;
  RunPrinter& printer_;
  Screenshots& shots_;
  std::string shotName_;
  std::vector<std::string> rowTexts_;
  std::string status_;
  int progressTens_ = 0;
  bool ended_ = false;
};

} // namespace quillon::demo
