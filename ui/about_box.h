#pragma once

#include "ui/template_dialog.h"

namespace quillon {

// "About Yardmark GPS Firmware Updater": the icon, the program's name and version, and OK.
class AboutBox final : public TemplateDialog {
  Q_OBJECT

public:
  explicit AboutBox(QWidget* parent);
};

} // namespace quillon
