#pragma once

#include "dialogs/accessible_names.h"

#include <windows.h>

namespace quillon {

// Gives a window or a control the name and description a screen reader reads (the table in
// dialogs/accessible_names.h) through Microsoft Active Accessibility, which Narrator and NVDA
// ask: the window answers WM_GETOBJECT with the system's own accessible object for it, whose
// name and description are the program's. The visible caption and texts stay as they are, so
// the step 1 window is named without a caption drawn. A picture is read as a graphic, a
// progress bar's value is its percentage. A live text is marked as a live region, whose
// changes Narrator reads without the control having the focus. Lasts until the window is
// destroyed.
void GiveAccessibleText(HWND window, const AccessibleText& text, ControlKind kind);

// Tells the screen readers that a control's text, and so its name, has changed.
void AnnounceNameChange(HWND control);
// Tells them that a progress bar's value has changed.
void AnnounceValueChange(HWND bar);

} // namespace quillon
