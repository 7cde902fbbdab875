#pragma once

#include <QColor>

#include "ui/dialog_template.h"

class QWidget;

namespace quillon {

// The fixed colours of the wizard's windows.
namespace palette {
inline const QColor kHeaderBackground{50, 50, 200};
inline const QColor kHeaderText{255, 255, 255};
inline const QColor kWarningText{255, 0, 0};
inline const QColor kWarningBackground{255, 255, 100};
inline const QColor kNavyText{0, 0, 125};
} // namespace palette

// Gives a control the colours of its role, once, when its window is built. Roles without a
// background of their own keep the window's.
void ApplyColourRole(QWidget& control, ColourRole role);

} // namespace quillon
