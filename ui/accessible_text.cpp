#include "ui/accessible_text.h"

#include "ui/qt_text.h"

#include <QWidget>

namespace quillon {

void SetAccessibleText(QWidget& widget, const AccessibleText& text, std::string_view shown) {
  if (!text.name.empty()) {
    // Setting a name tells the accessibility bus of the change; an unchanged one is not news.
    const QString name = ToQString(AccessibleName(text, shown));
    if (widget.accessibleName() != name)
      widget.setAccessibleName(name);
  }
  if (!text.description.empty())
    widget.setAccessibleDescription(ToQString(text.description));
}

} // namespace quillon
