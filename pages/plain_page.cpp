#include "pages/plain_page.h"

#include "pages/modal_result.h"

namespace quillon {

int PlainPage::runOn(PageRunner& runner) {
  return runner.run(*this);
}

void PlainPage::onInput(PageInput input, PageWindow& window) {
  switch (input) {
  case PageInput::Forward:
  case PageInput::Enter:
    onForward(window);
    return;
  case PageInput::Cancel:
  case PageInput::Escape:
    onCancel(window);
    return;
  case PageInput::Previous:
    // Only pages that show the button can be asked this; anywhere else it means nothing.
    if (texts_.hasPrevious) {
      previousPressed = true;
      window.endPage(modal::kCancel);
    }
    return;
  }
}

void PlainPage::onKeyDown(int /*virtualKey*/, PageWindow& /*window*/) {}

void PlainPage::onForward(PageWindow& window) {
  window.endPage(modal::kOk);
}

void PlainPage::onCancel(PageWindow& window) {
  if (texts_.hasPrevious)
    previousPressed = false;
  window.endPage(modal::kCancel);
}

} // namespace quillon
