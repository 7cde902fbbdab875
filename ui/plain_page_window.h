#pragma once

#include <optional>

#include "pages/page_view.h"
#include "pages/plain_page.h"
#include "ui/template_dialog.h"

namespace quillon {

// The window of an instruction page, built anew from the page's template on every showing. It
// turns buttons and keys into the page's inputs and lets the page end it. Every key-down seen
// while the page is up, whichever control has the focus, also goes to the page first (step 1's
// F9 switch), and then on to normal processing. A key that went down before the page appeared
// reaches it only as auto-repeat, which is dropped: a held Enter answers one page, not the
// pages after it.
class PlainPageWindow final : public TemplateDialog, public PageWindow {
  Q_OBJECT

public:
  PlainPageWindow(PlainPage& page, const DialogTemplate& dialogTemplate, QWidget* parent);

  // PageWindow
  void showNotice(std::string_view caption, std::string_view text) override;
  // The first end request of a showing fixes the result.
  void endPage(int result) override;

  // Escape and the window manager's close come here: the page's cancel route.
  void reject() override;

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void connectButton(int id, PageInput input);

  PlainPage& page_;
  std::optional<int> result_;
};

} // namespace quillon
