#pragma once

#include "dialogs/dialog_template.h"

#include <vector>
#include <windows.h>

namespace quillon {

// One of the program's dialog templates written out as the DLGTEMPLATEEX that Windows' dialog
// manager builds a window from: frame, caption, font and every control with its class, style,
// id, text and place, all in dialog units, so Windows lays the window out for its font and
// screen. Controls keep the template's order, which is their creation and tab order.
class DialogBytes {
public:
  explicit DialogBytes(const DialogTemplate& dialogTemplate);

  // What CreateDialogIndirectParamW and DialogBoxIndirectParamW take.
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
  void writeHeader(const DialogTemplate& dialogTemplate);
  void writeControl(const ControlTemplate& control);
  void word(unsigned value);
  void dword(DWORD value);
  void text(std::string_view utf8);
  void ordinal(unsigned value);
  void alignToDword();

  std::vector<WORD> words_;
};

} // namespace quillon
