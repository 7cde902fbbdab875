#pragma once

#include <string_view>

namespace quillon {

// What page logic may ask of the window it runs in. The logic decides, the window draws; the
// Qt windows (ui/) and the native Windows windows (win32/) implement these, tests implement
// them with recorders.

// A message box with the caption and text given, an OK button only and no icon. Returns when
// the user has pressed OK.
class NoticeSink {
public:
  virtual ~NoticeSink() = default;
  virtual void showNotice(std::string_view caption, std::string_view text) = 0;
};

// A page's window: it can show notices and end the page's modal run with a result.
class PageWindow : public NoticeSink {
public:
  virtual void endPage(int result) = 0;
};

// The hidden main dialog, as the driver sees it.
class MainDialogView : public NoticeSink {
public:
  virtual void endDialog(int result) = 0;
};

// What the window of an instruction page hands to its page logic. Enter and Escape reach the
// page as themselves so that a page can tell a key from a button where it matters; the pages
// treat Enter as the forward button and Escape as the cancel button.
enum class PageInput {
  Forward,  // button 1: "Next ->", YES, "Finish"
  Cancel,   // button 2: "Cancel", NO
  Previous, // button 1045: "<- Previous"
  Enter,
  Escape,
};

// Virtual key of the F9 function key: on step 1 it switches on Descriptive Logging.
inline constexpr int kVirtualKeyF9 = 120;

// The two hidden buttons of a progress page; they are only ever enabled or disabled.
enum class FrameButton { Ok, Cancel };

// The window of a self-running progress page. Nothing here reaches the screen later than the
// call that asks for it: the sequence runs without a message loop.
class ProgressView : public PageWindow {
public:
  // Centre the window on its owner (or in the work area when the owner is hidden), show it
  // and paint it.
  virtual void present() = 0;
  // Rows are numbered from 1, as the page shows them.
  virtual void setRowText(int row, std::string_view text) = 0;
  virtual void setStatusLine(std::string_view text) = 0;
  // 0..100, shown at once.
  virtual void setProgress(int percent) = 0;
  // Paint now, without waiting for a message loop.
  virtual void repaint() = 0;
  virtual void setButtonEnabled(FrameButton button, bool enabled) = 0;
  // Keep answering the window system (paint, the window manager's liveness ping) without
  // taking user input. Called during every wait of the sequence and between loader steps.
  virtual void pump() = 0;
};

} // namespace quillon
