#pragma once

#include "dialogs/progress_page_controls.h"
#include "pages/page_view.h"
#include "win32/template_window.h"

#include <optional>
#include <span>

namespace quillon {

// The window of a self-running device page. Its page drives it from start to end: rows,
// status line and progress bar change only when the page asks. While the page works, the
// window keeps answering Windows through pump(), takes no user input and cannot be closed;
// it has no button to press.
class ProgressPageWindow final : public TemplateWindow, public ProgressView {
public:
  ProgressPageWindow(const DialogTemplate& dialogTemplate, const ProgressPageControls& controls)
      : TemplateWindow(dialogTemplate), rows_(controls.rows),
        statusControl_(controls.statusControl), progressControl_(controls.progressControl) {}

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

protected:
  std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void setText(int id, std::string_view text);

  std::span<const ProgressRow> rows_;
  int statusControl_;
  int progressControl_;
  std::optional<int> result_;
};

} // namespace quillon
