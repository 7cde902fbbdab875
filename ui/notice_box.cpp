#include "ui/notice_box.h"

#include <QMessageBox>
#include <QString>

#include "ui/qt_text.h"

namespace quillon {

void ShowNotice(QWidget* owner, std::string_view caption, std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok,
                  owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

} // namespace quillon
