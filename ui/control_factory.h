#pragma once

#include "dialogs/dialog_template.h"
#include "ui/dialog_units.h"

class QWidget;

namespace quillon {

// Creates the widget for one control of a template as a child of parent: placed and sized from
// its dialog units, with its text, style flags and colours.
QWidget* CreateControl(const ControlTemplate& control, const DialogUnits& units, QWidget& parent);

} // namespace quillon
