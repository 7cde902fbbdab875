#pragma once

#include "pages/page_view.h"
#include "pages/plain_page.h"
#include "win32/template_window.h"

#include <optional>

namespace quillon {

// The window of an instruction page, built anew from the page's template on every showing.
// It runs its own modal loop so that it sees every message before the dialog manager does:
// each key-down, whichever control has the focus, goes to the page first (step 1's F9 switch)
// and then on to normal processing; Enter and Escape reach the page as themselves; Tab moves
// between the buttons. A key that went down before the page appeared is dropped: a held Enter
// answers one page, not the pages after it.
class PlainPageWindow final : public TemplateWindow, public PageWindow {
public:
  PlainPageWindow(PlainPage& page, const DialogTemplate& dialogTemplate)
      : TemplateWindow(dialogTemplate), page_(page) {}

  // Shows the created window and runs its loop until the page ends itself; returns the
  // page's result. The page's onShow has been called by then.
  int run();

  // PageWindow
  void showNotice(std::string_view caption, std::string_view text) override;
  // The first end request of a showing fixes the result.
  void endPage(int result) override;

protected:
  bool onInitDialog() override;
  std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  // True when the message was the page's and goes no further.
  bool preTranslate(const MSG& message);
  bool wentDownBeforeShown(const MSG& message) const;
  void pressEnter();

  PlainPage& page_;
  std::optional<int> result_;
  DWORD shownAt_ = 0; // the tick count when the window appeared
};

} // namespace quillon
