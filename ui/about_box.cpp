#include "ui/about_box.h"

#include "ui/artwork.h"

#include <QPushButton>

namespace quillon {

AboutBox::AboutBox(QWidget* parent) : TemplateDialog(*FindDialogTemplate(tpl::kAbout), parent) {
  setWindowIcon(AppIcon());
  connect(controlAs<QPushButton>(ids::kOk), &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace quillon
