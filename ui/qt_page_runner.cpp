#include "ui/qt_page_runner.h"

#include "pages/modal_result.h"
#include "pages/plain_page.h"
#include "pages/progress_page.h"
#include "ui/plain_page_window.h"
#include "ui/progress_page_window.h"

namespace quillon {

int QtPageRunner::run(PlainPage& page) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(page.templateId());
  if (!dialogTemplate)
    return modal::kNotCreated;
  PlainPageWindow window(page, *dialogTemplate, parent_);
  page.onShow();
  return window.exec();
}

int QtPageRunner::run(ProgressPage& page) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(page.controls().templateId);
  if (!dialogTemplate)
    return modal::kNotCreated;
  ProgressPageWindow window(*dialogTemplate, page.controls(), parent_);
  if (progressRun_)
    progressRun_(page, window);
  else
    page.run(window);
  window.hide();
  // The dialog's result is what its first end request said; a page that never asked to end
  // has not succeeded.
  return window.endResult().value_or(modal::kCancel);
}

} // namespace quillon
