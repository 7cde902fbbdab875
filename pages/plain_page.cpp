#include "pages/plain_page.h"

#include "dialogs/dialog_template.h"
#include "pages/modal_result.h"

namespace quillon {
namespace {

bool HasPreviousButton(int templateId) {
  const DialogTemplate* window = FindDialogTemplate(templateId);
  return window != nullptr && window->findControl(ids::kPrevious) != nullptr;
}

} // namespace

PlainPage::PlainPage(int step, int templateId)
    : WizardPage(step), templateId_(templateId), hasPrevious_(HasPreviousButton(templateId)) {}

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
    if (hasPrevious_) {
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
  if (hasPrevious_)
    previousPressed = false;
  window.endPage(modal::kCancel);
}

} // namespace quillon
