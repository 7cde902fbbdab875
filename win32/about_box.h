#pragma once

#include "win32/template_window.h"

namespace quillon {

// "About Yardmark GPS Firmware Updater": the icon, the program's name, the version this
// executable was built as (its second line, from the template), and OK.
class AboutBox final : public TemplateWindow {
public:
  AboutBox() : TemplateWindow(*FindDialogTemplate(tpl::kAbout)) {}

protected:
  std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace quillon
