#include "modal_watch.h"

#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quillon::testing {

void WhenModalAppears(std::function<void(QWidget&)> act, int timeoutMs) {
  auto* poll = new QTimer(qApp);
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(poll, &QTimer::timeout, poll, [poll, started, act = std::move(act), timeoutMs] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->deleteLater();
      poll->stop();
      act(*modal);
    } else if (started->elapsed() > timeoutMs) {
      poll->deleteLater();
      poll->stop();
      QFAIL("no modal window appeared");
    }
  });
  poll->start(5);
}

void AnswerNextNotice(SeenNotice& seen, int timeoutMs) {
  WhenModalAppears(
      [&seen](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        QVERIFY2(box, "the modal window is not a message box");
        seen = {box->windowTitle(), box->text(), true};
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().front()), QMessageBox::Ok);
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        box->button(QMessageBox::Ok)->click();
      },
      timeoutMs);
}

} // namespace quillon::testing
