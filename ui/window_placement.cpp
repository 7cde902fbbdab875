#include "ui/window_placement.h"

#include <algorithm>

#include <QScreen>
#include <QWidget>

namespace quillon {

QPoint CentredPosition(QSize frameSize, const QRect& ownerFrame, const QRect& workArea) {
  const QRect around = ownerFrame.isValid() ? ownerFrame : workArea;
  QPoint topLeft(around.left() + (around.width() - frameSize.width()) / 2,
                 around.top() + (around.height() - frameSize.height()) / 2);
  // Inside the work area, the top-left corner winning when the window is larger than it.
  topLeft.setX(std::max(workArea.left(), std::min(topLeft.x(), workArea.right() + 1 -
                                                                 frameSize.width())));
  topLeft.setY(std::max(workArea.top(), std::min(topLeft.y(), workArea.bottom() + 1 -
                                                                frameSize.height())));
  return topLeft;
}

void CentreOnOwnerOrScreen(QWidget& window) {
  const QWidget* owner = window.parentWidget();
  const bool ownerShown = owner && owner->isVisible() && !owner->isMinimized();
  const QRect ownerFrame = ownerShown ? owner->window()->frameGeometry() : QRect();
  const QScreen* screen = ownerShown ? owner->screen() : window.screen();
  const QRect workArea = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), window.size());
  window.move(CentredPosition(window.frameGeometry().size(), ownerFrame, workArea));
}

} // namespace quillon
