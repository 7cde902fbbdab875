#pragma once

#include "base/clock.h"
#include "link/device_link.h"
#include "link/serial_port.h"
#include "pages/page_view.h"
#include "ui/template_dialog.h"

#include <QString>

class QComboBox;
class QProgressBar;

namespace quillon {

// The program's main dialog: the hidden host of the wizard and the parent of every page. It
// owns the one DeviceLink of the run. Its own small firmware-load window (port list, file
// chooser, progress bar, instructions, state text) is built whole, but the wizard never shows
// it and never reads its values.
class MainDialogWindow final : public TemplateDialog, public MainDialogView {
  Q_OBJECT

public:
  // The filter of the Browse dialog, as the program has always written it.
  static constexpr auto kFirmwareFilter = "KV7 Application|application.kv7|All Files(*.*)|*.*||";

  explicit MainDialogWindow(Clock& clock, SerialPortFactory portFactory = MakePlatformSerialPort);

  DeviceLink& link() { return link_; }

  // Progress range 0 to 100 at position 0, and the port list on its first item.
  void prepareControls();

  // Adds the About command, after a separator, to the window's menu; an empty text adds
  // nothing.
  void addAboutCommand(const QString& text);
  void showAboutBox();

  // Browse: asks for a firmware file and shows the chosen path.
  void browseForFirmware();

  // MainDialogView: the driver's notices, and the end of the dialog.
  void showNotice(std::string_view caption, std::string_view text) override;
  void endDialog(int result) override;

  // Exit, Escape and the close box end the dialog with Cancel.
  void reject() override;
  // "Reload GPS Firmware" (and Enter) does nothing: the dialog stays open.
  void accept() override;

  const QString& firmwarePath() const { return firmwarePath_; }

private:
  // Copies the three texts into their controls, as the dialog's data exchange does.
  void showTexts();

  DeviceLink link_;
  QComboBox* portList_;
  QProgressBar* progress_;
  QString instructionText_;
  QString firmwarePath_;
  QString stateText_;
};

} // namespace quillon
