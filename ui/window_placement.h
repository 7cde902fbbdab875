#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace quillon {

// Where a window of frameSize goes: centred on its owner's frame when the owner is on screen,
// otherwise centred in the work area; moved back inside the work area if it would stick out.
QPoint CentredPosition(QSize frameSize, const QRect& ownerFrame, const QRect& workArea);

// Moves window there, using its parent as the owner when the parent is visible and not
// minimised, and the work area of the screen the window is on.
void CentreOnOwnerOrScreen(QWidget& window);

} // namespace quillon
