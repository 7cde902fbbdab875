#pragma once

#include "pages/page_view.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The state a progress page keeps for its window: one text per row, the status line and the
// result. Row texts are fields: they reach the window only with SetStatus or an explicit
// transfer, so a row set just before the page ends is never seen. The first end request of a
// run fixes the result; later ones change nothing.
class ProgressFrame {
public:
  ProgressFrame(ProgressView& view, int rowCount);

  // Shows the window, sets every row to "-", the progress bar to 0 and the status line to
  // empty, puts them on the window and disables both hidden buttons.
  void begin();

  // Rows are numbered from 1.
  void setRow(int row, std::string_view text);
  // Sets the status line, puts it and every row on the window, and paints at once.
  void SetStatus(std::string_view text);
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
