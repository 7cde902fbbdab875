#pragma once

#include "pages/page_view.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The state a progress page keeps for its window: one text per row, the status line and the
// result. The first end request of a run fixes the result; later ones change nothing.
//
// Only setStatus paints. A row text is a field: it reaches the window with the next status
// line (or an explicit transfer), so the golfer sees a row and the words that explain it
// appear together, and a row set just before the page ends is never seen. The notices of the
// device pages rely on that order.
class ProgressFrame {
public:
  ProgressFrame(ProgressView& view, int rowCount);

  // Shows the window, sets every row to "-", the progress bar to 0 and the status line to
  // empty, puts them on the window and disables both hidden buttons.
  void begin();

  // Rows are numbered from 1. Stored only: the window shows it with the next setStatus.
  void setRow(int row, std::string_view text);
  // Sets the status line, puts it and every row on the window, and paints at once.
  void setStatus(std::string_view text);
  void setProgress(int percent);
  // Puts the row texts and the status line on the window, without painting.
  void transfer();
  void repaint() { view_.repaint(); }
  void enableButton(FrameButton button) { view_.setButtonEnabled(button, true); }
  void notice(std::string_view caption, std::string_view text) { view_.showNotice(caption, text); }

  void endWith(int result);
  bool ended() const { return result_ != kNoResult; }
  // The result fixed by the first end request; Cancel if none was made.
  int result() const;

  // What the window shows as a row is waiting for work ("-"), and the words rows change to.
  static constexpr std::string_view kIdle = "-";
  static constexpr std::string_view kWorking = "WORKING";
  static constexpr std::string_view kDone = "DONE";
  static constexpr std::string_view kFail = "FAIL";

private:
  static constexpr int kNoResult = 0;

  ProgressView& view_;
  std::vector<std::string> rows_;
  std::string statusText_;
  int result_ = kNoResult;
};

} // namespace quillon
