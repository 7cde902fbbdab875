#pragma once

#include "dialogs/dialog_template.h"

class QWidget;

namespace quillon {

// Gives a control the colours of its role (colour_roles.h), once, when its window is built.
// Roles without a background of their own keep the window's.
void ApplyColourRole(QWidget& control, ColourRole role);

} // namespace quillon
