#include "app/quillon_app.h"

#include <QCoreApplication>

namespace quillon {

WizardOutcome QuillonApp::run(const WizardSettings& settings, PageRunner* runner) {
  dialog_.addAboutCommand(QCoreApplication::translate("QuillonDlg", "&About Quillon..."));
  dialog_.prepareControls();
  WizardDriver driver(dialog_, runner ? *runner : runner_, link(), clock_, settings);
  driver.run();
  return driver.outcome();
}

} // namespace quillon
