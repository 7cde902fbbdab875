#include "win32/win32_page_runner.h"

#include "pages/modal_result.h"
#include "pages/plain_page.h"
#include "pages/progress_page.h"
#include "win32/plain_page_window.h"
#include "win32/progress_page_window.h"

namespace quillon {

int Win32PageRunner::run(PlainPage& page) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(page.templateId());
  if (!dialogTemplate)
    return modal::kNotCreated;
  PlainPageWindow window(page, *dialogTemplate);
  if (!window.create(owner_))
    return modal::kNotCreated;
  page.onShow();
  const ModalToOwner modal(owner_);
  return window.run();
}

int Win32PageRunner::run(ProgressPage& page) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(page.controls().templateId);
  if (!dialogTemplate)
    return modal::kNotCreated;
  ProgressPageWindow window(*dialogTemplate, page.controls());
  if (!window.create(owner_))
    return modal::kNotCreated;
  {
    const ModalToOwner modal(owner_);
    page.run(window);
  }
  window.destroy();
  // The dialog's result is what its first end request said; a page that never asked to end
  // has not succeeded.
  return window.endResult().value_or(modal::kCancel);
}

} // namespace quillon
