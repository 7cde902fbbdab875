#pragma once

#include "win32/template_window.h"

#include <string>

namespace quillon {

// "About Yardmark GPS Firmware Updater": the icon, the program's name, the version this
// executable was built as (its second line), and OK.
class AboutBox final : public TemplateWindow {
public:
  AboutBox() : TemplateWindow(*FindDialogTemplate(tpl::kAbout)) {}

  // What the second line says.
  static std::wstring versionLine();

protected:
  bool onInitDialog() override;
  std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace quillon
