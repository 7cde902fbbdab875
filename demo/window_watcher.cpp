#include "demo/window_watcher.h"

#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "demo/run_printer.h"
#include "demo/screenshots.h"
#include "demo/scripted_golfer.h"
#include "ui/plain_page_window.h"

namespace quillon::demo {

bool WindowWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show || !watched->isWidgetType())
    return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (!widget->isWindow())
    return false;
  if (auto* box = qobject_cast<QMessageBox*>(widget)) {
    const std::string caption = box->windowTitle().toStdString();
    printer_.notice(caption, box->text().toStdString());
    // Once the box is up and painted: its picture, then the golfer's OK.
    QPointer<QMessageBox> shown(box);
    QTimer::singleShot(0, box, [this, shown, caption] {
      photograph(*shown, Screenshots::NoticeName(caption));
      if (golfer_)
        golfer_->dismiss(*shown);
    });
  } else if (auto* page = qobject_cast<PlainPageWindow*>(widget)) {
    QPointer<PlainPageWindow> shown(page);
    const int step = step_;
    QTimer::singleShot(0, page, [this, shown, step] {
      photograph(*shown, "step" + std::to_string(step));
      if (golfer_)
        golfer_->answer(*shown, step);
    });
  }
  return false;
}

void WindowWatcher::photograph(QWidget& window, const std::string& name) {
  if (!shots_.take(window, name))
    printer_.line("screenshot " + name + " NOT written");
}

} // namespace quillon::demo
