#include "ui/template_dialog.h"

#include "ui/accessible_text.h"
#include "ui/control_factory.h"
#include "ui/qt_text.h"

namespace quillon {
namespace {

Qt::WindowFlags flagsFor(FrameKind frame) {
  switch (frame) {
  case FrameKind::WizardPage:
    // A caption but no system menu, hence no close box; above every other window.
    return Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  case FrameKind::MainDialog:
  case FrameKind::AboutBox:
    break;
  }
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
         Qt::WindowCloseButtonHint;
}

} // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent, flagsFor(dialogTemplate.frame)),
      template_(dialogTemplate),
      units_(DialogFont(template_.font)) {
  setFont(DialogFont(template_.font));
  setWindowTitle(ToQString(template_.caption));
  // Read out even where the caption is empty (step 1), without changing what is drawn.
  SetAccessibleText(*this, WindowAccessibleText(template_));
  setFixedSize(units_.toPixels(template_.width, template_.height));
  controls_.reserve(template_.controls.size());
  for (const ControlTemplate& control : template_.controls) {
    QWidget* widget = CreateControl(control, units_, *this);
    SetAccessibleText(*widget, ControlAccessibleText(template_, control), control.text);
    controls_.push_back(widget);
  }
}

QWidget* TemplateDialog::control(int id) const {
  const ControlTemplate* found = template_.findControl(id);
  return found ? controls_[static_cast<std::size_t>(found - template_.controls.data())] : nullptr;
}

QWidget* TemplateDialog::controlAt(std::size_t index) const {
  return index < controls_.size() ? controls_[index] : nullptr;
}

} // namespace quillon
