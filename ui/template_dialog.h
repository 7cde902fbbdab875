#pragma once

#include <cstddef>
#include <vector>

#include <QDialog>

#include "dialogs/dialog_template.h"
#include "ui/dialog_units.h"

namespace quillon {

// A dialog built from one of the program's templates: the frame, the caption, the client size
// and every control, laid out in dialog units of the dialog font. The windows of the wizard
// derive from it and add their behaviour.
class TemplateDialog : public QDialog {
  Q_OBJECT

public:
  TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent);

  const DialogTemplate& dialogTemplate() const { return template_; }
  const DialogUnits& units() const { return units_; }

  // The first control with this id, or nullptr.
  QWidget* control(int id) const;
  // The control at this place in the template (controls without an id are found this way).
  QWidget* controlAt(std::size_t index) const;

  template <class Widget>
  Widget* controlAs(int id) const {
    return qobject_cast<Widget*>(control(id));
  }

private:
  const DialogTemplate& template_;
  DialogUnits units_;
  std::vector<QWidget*> controls_; // parallel to template_.controls; owned by Qt as children
};

} // namespace quillon
