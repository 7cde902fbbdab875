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

void WhenModalAppears(std::function<void(QWidget&)> act, int timeoutMs) {
  auto* poll = new QTimer(qApp);
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  // The window already up when the watch starts is not the one awaited.
  QPointer<QWidget> before(QApplication::activeModalWidget());
  QObject::connect(poll, &QTimer::timeout, poll,
                   [poll, started, before, act = std::move(act), timeoutMs] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != before) {
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

bool FocusOn(QWidget& control) {
  control.window()->activateWindow();
  if (!QTest::qWaitForWindowActive(control.window()))
    return false;
  control.setFocus(Qt::OtherFocusReason);
  return QApplication::focusWidget() == &control;
}

void AnswerNextNotice(SeenNotice& seen, int timeoutMs) {
  WhenModalAppears(
      [&seen](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        QVERIFY2(box, "the modal window is not a message box");
        seen = {box->windowTitle(), box->text(), box->parentWidget(), true};
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().front()), QMessageBox::Ok);
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        box->button(QMessageBox::Ok)->click();
      },
      timeoutMs);
}

} // namespace quillon::testing
