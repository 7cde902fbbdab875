#pragma once

#include "dialogs/accessible_names.h"

#include <string_view>

class QWidget;

namespace quillon {

// Gives a window or a control the name and description a screen reader reads (the table in
// dialogs/accessible_names.h). `shown` is the text the control shows now, which a row state
// reads after its label. A control without a name of its own keeps Qt's, its text, so that
// changing the text is announced as a change of name.
void SetAccessibleText(QWidget& widget, const AccessibleText& text, std::string_view shown = {});

} // namespace quillon
