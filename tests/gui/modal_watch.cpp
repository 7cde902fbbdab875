#include "modal_watch.h"

#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quillon::testing {

namespace {

void whenModalAppears(std::function<bool(QWidget&)> wanted, std::function<void(QWidget&)> act,
                      int timeoutMs) {
  auto* poll = new QTimer(qApp);
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  // The window already up when the watch starts is not the one awaited.
  QPointer<QWidget> before(QApplication::activeModalWidget());
  QObject::connect(poll, &QTimer::timeout, poll,
                   [poll, started, before, wanted = std::move(wanted), act = std::move(act),
                    timeoutMs] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != before && wanted(*modal)) {
      poll->deleteLater();
      poll->stop();
      QPointer<QWidget> window(modal);
      act(*modal);
      // A check that failed inside act must not leave the window waiting for ever.
      if (QTest::currentTestFailed() && window && window->isVisible())
        if (auto* dialog = qobject_cast<QDialog*>(window.data()))
          dialog->done(QDialog::Rejected);
    } else if (started->elapsed() > timeoutMs) {
      poll->deleteLater();
      poll->stop();
      QFAIL("no modal window appeared");
    }
  });
  poll->start(5);
}

} // namespace

void WhenModalAppears(std::function<void(QWidget&)> act, int timeoutMs) {
  whenModalAppears([](QWidget&) { return true; }, std::move(act), timeoutMs);
}

bool FocusOn(QWidget& control) {
  control.window()->activateWindow();
  if (!QTest::qWaitForWindowActive(control.window()))
    return false;
  control.setFocus(Qt::OtherFocusReason);
  return QApplication::focusWidget() == &control;
}

void AnswerNextNotice(SeenNotice& seen, int timeoutMs) {
  whenModalAppears(
      [](QWidget& modal) { return qobject_cast<QMessageBox*>(&modal) != nullptr; },
      [&seen](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        seen = {box->windowTitle(), box->text(), box->parentWidget(),
                box->parentWidget() ? box->parentWidget()->metaObject()->className() : "",
                true};
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().front()), QMessageBox::Ok);
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        box->button(QMessageBox::Ok)->click();
      },
      timeoutMs);
}

} // namespace quillon::testing
