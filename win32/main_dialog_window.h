#pragma once

#include "link/device_link.h"
#include "pages/page_view.h"
#include "pages/pumping_clock.h"
#include "pages/wizard_outcome.h"
#include "win32/template_window.h"

#include <string>

namespace quillon {

// The program's main dialog: the hidden host of the wizard and the owner of every page. It
// owns the one DeviceLink of the run. Its initialisation is the wizard, which ends the dialog
// before the dialog manager ever shows it. Its own small firmware-load window (port list, file
// chooser, progress bar, instructions, state text) is built whole, but never shown or read.
class MainDialogWindow final : public TemplateWindow, public MainDialogView {
public:
  // The numbers the host's resources carry them by.
  static constexpr int kAboutTextString = 101;
  static constexpr UINT kAboutCommand = 0x10;

  // `clock` is the one every wait of the run goes through; the link is built on it.
  explicit MainDialogWindow(PumpingClock& clock)
      : TemplateWindow(*FindDialogTemplate(tpl::kMainDialog)), clock_(clock), link_(clock) {}

  // The dialog manager's modal run of the dialog, and so the whole wizard. Returns the
  // dialog's result, or -1 when Windows could not create it.
  INT_PTR run() { return runModal(nullptr); }
  // How the wizard of the last run ended.
  WizardOutcome outcome() const { return outcome_; }

  // MainDialogView: the driver's notices, and the end of the dialog.
  void showNotice(std::string_view caption, std::string_view text) override;
  void endDialog(int result) override;

protected:
  bool onInitDialog() override;
  std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void addAboutCommand();
  void setIcons();
  void prepareControls();
  void browseForFirmware();

  PumpingClock& clock_;
  DeviceLink link_;
  std::wstring firmwarePath_; // the chosen file, shown and never read
  WizardOutcome outcome_ = WizardOutcome::Failed;
};

} // namespace quillon
