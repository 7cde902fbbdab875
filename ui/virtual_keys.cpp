#include "ui/virtual_keys.h"

#include <Qt>

namespace quillon {
namespace {

// The key codes as the Windows keyboard has always numbered them.
constexpr int kVkBack = 0x08;
constexpr int kVkTab = 0x09;
constexpr int kVkReturn = 0x0D;
constexpr int kVkEscape = 0x1B;
constexpr int kVkSpace = 0x20;
constexpr int kVkF1 = 0x70;

} // namespace

int VirtualKeyOf(int qtKey) {
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return kVkF1 + (qtKey - Qt::Key_F1);
  // Letters and digits keep their upper-case ASCII codes.
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return qtKey;
  switch (qtKey) {
  case Qt::Key_Backspace:
    return kVkBack;
  case Qt::Key_Tab:
    return kVkTab;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return kVkReturn;
  case Qt::Key_Escape:
    return kVkEscape;
  case Qt::Key_Space:
    return kVkSpace;
  default:
    return 0;
  }
}

} // namespace quillon
