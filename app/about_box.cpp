#include "app/about_box.h"

#include <QPushButton>

#include "ui/artwork.h"

namespace quillon {

AboutBox::AboutBox(QWidget* parent) : TemplateDialog(*FindDialogTemplate(tpl::kAbout), parent) {
  setWindowIcon(AppIcon());
  connect(controlAs<QPushButton>(ids::kOk), &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace quillon
