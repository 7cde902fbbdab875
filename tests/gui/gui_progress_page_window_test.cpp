// The window of the self-running device pages: rows, status line and progress bar change only
// as the page asks (a row set without a status is never seen), the template's placeholders
// never show, the first end request is the result, and while the page works the window stays
// up, modal and closed to the user.
#include "base/clock.h"
#include "modal_watch.h"
#include "pages/modal_result.h"
#include "pages/progress_frame.h"
#include "pages/progress_page.h"
#include "ui/main_dialog_window.h"
#include "ui/progress_page_window.h"
#include "ui/qt_page_runner.h"
#include "ui/window_placement.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

namespace quillon {
namespace {

// A device page whose sequence is the test's script, on the real frame.
class ScriptedPage final : public ProgressPage {
public:
  using Script = std::function<void(ProgressFrame&, ProgressPageWindow&)>;
  ScriptedPage(const ProgressPageControls& controls, Script script)
      : ProgressPage(0, controls), script_(std::move(script)) {}

  int run(ProgressView& view) override {
    ProgressFrame frame(view, rowCount());
    frame.begin();
    script_(frame, dynamic_cast<ProgressPageWindow&>(view));
    return frame.result();
  }

private:
  Script script_;
};

// Counts the keys and mouse presses that reach the object it watches.
class InputCounter final : public QObject {
public:
  explicit InputCounter(int& seen) : seen_(seen) {}
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)
      ++seen_;
    return false;
  }

private:
  int& seen_;
};

QString rowText(ProgressPageWindow& window, int row) {
  const ProgressPageControls& controls = window.dialogTemplate().id == tpl::kLoadFirmware
                                             ? kFirmwareLoadPageControls
                                             : kResetAndVerifyPageControls;
  return window.controlAs<QLabel>(controls.rows[static_cast<std::size_t>(row - 1)].stateControl)
      ->text();
}

} // namespace

class ProgressPageWindowTest : public QObject {
  Q_OBJECT

  VirtualClock clock_;
  MainDialogWindow* mainDialog_ = nullptr;

  int runPage(const ProgressPageControls& controls, ScriptedPage::Script script) {
    ScriptedPage page(controls, std::move(script));
    QtPageRunner runner(mainDialog_);
    return page.runOn(runner);
  }

private slots:
  void initTestCase() { mainDialog_ = new MainDialogWindow(clock_); }
  void cleanupTestCase() { delete mainDialog_; }

  void pageStartsWithDashesAnEmptyStatusAndNoPlaceholders() {
    for (const ProgressPageControls* controls :
         {&kFirmwareLoadPageControls, &kResetAndVerifyPageControls}) {
      runPage(*controls, [controls](ProgressFrame& frame, ProgressPageWindow& window) {
        QVERIFY(window.isVisible());
        for (std::size_t row = 1; row <= controls->rows.size(); ++row)
          QCOMPARE(rowText(window, static_cast<int>(row)), QStringLiteral("-"));
        QCOMPARE(window.controlAs<QLabel>(controls->statusControl)->text(), QString());
        QCOMPARE(window.controlAs<QProgressBar>(controls->progressControl)->value(), 0);
        for (auto* label : window.findChildren<QLabel*>())
          for (const char* placeholder : {"Complete", "Working", "StatusString", "Static", "--"})
            QVERIFY(label->text() != QLatin1String(placeholder));
        for (int id : {ids::kOk, ids::kCancel}) {
          QVERIFY(!window.control(id)->isEnabled());
          QVERIFY(!window.control(id)->isVisible());
        }
        frame.endWith(modal::kOk);
      });
    }
  }

  void rowTextsReachTheScreenOnlyWithAStatus() {
    const int result = runPage(kFirmwareLoadPageControls, [](ProgressFrame& frame,
                                                       ProgressPageWindow& window) {
      frame.setRow(2, ProgressFrame::kWorking);
      QCOMPARE(rowText(window, 2), QStringLiteral("-"));
      frame.setStatus("...Locating the Yardmark...");
      QCOMPARE(rowText(window, 2), QStringLiteral("WORKING"));
      QCOMPARE(window.controlAs<QLabel>(1022)->text(), QStringLiteral("...Locating the Yardmark..."));
      frame.setRow(2, ProgressFrame::kFail);
      frame.endWith(modal::kCancel);
      QCOMPARE(rowText(window, 2), QStringLiteral("WORKING")); // never shown: the page ended
    });
    QCOMPARE(result, modal::kCancel);
  }

  void progressShowsAtOnceAndBeyondTheRangeAsAFullBar() {
    runPage(kResetAndVerifyPageControls, [](ProgressFrame& frame, ProgressPageWindow& window) {
      auto* bar = window.controlAs<QProgressBar>(1027);
      frame.setProgress(60);
      QCOMPARE(bar->value(), 60);
      frame.setProgress(137);
      QCOMPARE(bar->value(), 100);
      frame.setProgress(-4);
      QCOMPARE(bar->value(), 0);
      frame.endWith(modal::kOk);
    });
  }

  void theFirstEndRequestIsTheResult() {
    QCOMPARE(runPage(kResetAndVerifyPageControls,
                     [](ProgressFrame& frame, ProgressPageWindow&) {
                       frame.endWith(modal::kOk);
                       frame.endWith(modal::kCancel);
                     }),
             modal::kOk);
    QCOMPARE(runPage(kResetAndVerifyPageControls,
                     [](ProgressFrame&, ProgressPageWindow& window) {
                       window.endPage(modal::kCancel);
                       window.endPage(modal::kOk);
                     }),
             modal::kCancel);
  }

  void aPageThatNeverEndsItselfDoesNotHangAndIsNotASuccess() {
    QCOMPARE(runPage(kFirmwareLoadPageControls, [](ProgressFrame&, ProgressPageWindow&) {}),
             modal::kCancel);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void whileThePageWorksTheWindowCannotBeClosedOrAnswered() {
    bool stayedUp = false;
    bool modalThroughout = false;
    const int result = runPage(kFirmwareLoadPageControls, [&](ProgressFrame& frame,
                                                       ProgressPageWindow& window) {
      window.close();
      QTest::keyClick(&window, Qt::Key_Escape);
      QTest::keyClick(&window, Qt::Key_Return);
      frame.enableButton(FrameButton::Ok);
      QTest::keyClick(&window, Qt::Key_Return); // the enabled OK button is still hidden
      window.pump();
      stayedUp = window.isVisible() && !window.endResult().has_value();
      modalThroughout = QApplication::activeModalWidget() == &window && window.isModal();
      frame.endWith(modal::kOk);
    });
    QCOMPARE(result, modal::kOk);
    QVERIFY(stayedUp);
    QVERIFY(modalThroughout);
  }

  // Keys and clicks that reach the program while the page works are taken and dropped, not
  // kept for later: a key pressed during the upload must not answer the next page.
  void pumpLetsTheWindowSystemThroughAndDropsTheUsersInput() {
    bool timerRan = false;
    int inputSeen = 0;
    runPage(kFirmwareLoadPageControls, [&](ProgressFrame& frame, ProgressPageWindow& window) {
      QTimer::singleShot(0, [&] { timerRan = true; });
      InputCounter counter(inputSeen);
      window.installEventFilter(&counter);
      QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                         Qt::NoModifier, QStringLiteral("\r")));
      const QPointF middle = QRectF(window.rect()).center();
      QCoreApplication::postEvent(
          &window, new QMouseEvent(QEvent::MouseButtonPress, middle, window.mapToGlobal(middle),
                                   Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
      window.pump();
      QVERIFY(timerRan);
      QCoreApplication::processEvents(); // nothing was kept back for later either
      window.removeEventFilter(&counter);
      frame.endWith(modal::kOk);
    });
    QCOMPARE(inputSeen, 0);
  }

  void noticesBelongToThePageAndWaitForOk() {
    testing::SeenNotice seen;
    runPage(kFirmwareLoadPageControls, [&](ProgressFrame& frame, ProgressPageWindow& window) {
      testing::AnswerNextNotice(seen);
      frame.notice("NOTICE E:3", "The file <b>x</b> is not a firmware file.");
      QVERIFY(seen.seen);
      QCOMPARE(seen.owner, &window);
      frame.endWith(modal::kCancel);
    });
    QCOMPARE(seen.caption, QStringLiteral("NOTICE E:3"));
    QCOMPARE(seen.text, QStringLiteral("The file <b>x</b> is not a firmware file."));
  }

  void windowsAreCentredOnTheirOwnerOrTheWorkArea() {
    const QRect work(0, 0, 1000, 800);
    QCOMPARE(CentredPosition({200, 100}, QRect(100, 100, 400, 300), work), QPoint(200, 200));
    QCOMPARE(CentredPosition({200, 100}, QRect(), work), QPoint(400, 350));
    // An owner near the edge: the window is kept inside the work area.
    QCOMPARE(CentredPosition({200, 100}, QRect(900, 750, 100, 50), work), QPoint(800, 700));
    QCOMPARE(CentredPosition({200, 100}, QRect(-300, -300, 100, 50), work), QPoint(0, 0));
    // With the owner hidden, the page lands in the middle of the screen's work area.
    runPage(kResetAndVerifyPageControls, [](ProgressFrame& frame, ProgressPageWindow& window) {
      const QRect area = window.screen()->availableGeometry();
      QVERIFY(area.contains(window.frameGeometry()));
      const QPoint offCentre = window.frameGeometry().center() - area.center();
      QVERIFY2(offCentre.manhattanLength() <= 6,
               qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                              .arg(window.frameGeometry().x())
                              .arg(window.frameGeometry().y())
                              .arg(window.frameGeometry().width())
                              .arg(window.frameGeometry().height())
                              .arg(area.width())
                              .arg(area.height())));
      frame.endWith(modal::kOk);
    });
  }
};

} // namespace quillon

QTEST_MAIN(quillon::ProgressPageWindowTest)
#include "gui_progress_page_window_test.moc"
