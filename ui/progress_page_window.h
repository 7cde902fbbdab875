#pragma once

#include <optional>
#include <span>

#include "dialogs/progress_page_controls.h"
#include "pages/page_view.h"
#include "ui/template_dialog.h"

class QLabel;
class QProgressBar;

namespace quillon {

// The window of a self-running device page. Its page drives it from start to end: rows,
// status line and progress bar change only when the page asks. While the page works, the
// window keeps answering the window system through pump(), takes no user input and cannot be
// closed; it has no button to press.
class ProgressPageWindow final : public TemplateDialog, public ProgressView {
  Q_OBJECT

public:
  ProgressPageWindow(const DialogTemplate& dialogTemplate, const ProgressPageControls& controls,
                     QWidget* parent);

  // The result of the first end request, if the page made one.
  std::optional<int> endResult() const { return result_; }

  // ProgressView
  void present() override;
  void setRowText(int row, std::string_view text) override;
  void setStatusLine(std::string_view text) override;
  void setProgress(int percent) override;
  void repaint() override;
  void setButtonEnabled(FrameButton button, bool enabled) override;
  void pump() override;
  void showNotice(std::string_view caption, std::string_view text) override;
  void endPage(int result) override;

  // Neither Escape nor Enter ends this window; only its page does.
  void reject() override {}
  void accept() override {}

protected:
  void closeEvent(QCloseEvent* event) override;
  // Installed on the application while pump() runs: takes every input event.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  std::span<const ProgressRow> rows_;
  QLabel* statusLine_;
  QProgressBar* progress_;
  std::optional<int> result_;
};

} // namespace quillon
