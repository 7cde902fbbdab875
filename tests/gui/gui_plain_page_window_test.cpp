// The instruction pages in their windows: every route a user can take: the buttons, Enter,
// Escape, Previous, YES/NO with their reminders and notice E:20, and the F9 switch on step 1
// whichever control has the focus.
#include "base/clock.h"
#include "dialogs/dialog_template.h"
#include "log/update_log.h"
#include "modal_watch.h"
#include "pages/intro_page.h"
#include "pages/modal_result.h"
#include "pages/plain_page.h"
#include "pages/screen_check_page.h"
#include "ui/main_dialog_window.h"
#include "ui/plain_page_window.h"
#include "ui/qt_page_runner.h"

#include <QPushButton>
#include <QTest>

namespace quillon {
namespace {

using testing::AnswerNextNotice;
using testing::SeenNotice;
using testing::WhenModalAppears;

PlainPageWindow& asPage(QWidget& modal) {
  auto* page = qobject_cast<PlainPageWindow*>(&modal);
  if (!page)
    qFatal("the modal window is not a page");
  return *page;
}

QPushButton* button(QWidget& modal, int id) {
  return asPage(modal).controlAs<QPushButton>(id);
}

constexpr int kPlainPages[] = {tpl::kIntro,         tpl::kConnectComputer, tpl::kConnectDevice,
                               tpl::kTurnOn,        tpl::kVerifyConnection, tpl::kTurnOff,
                               tpl::kTurnOnAgain,   tpl::kVerifyScreen,    tpl::kFinish};

} // namespace

class PlainPageWindowTest : public QObject {
  Q_OBJECT

  VirtualClock clock_;
  MainDialogWindow* mainDialog_ = nullptr;

  // Shows page the way the wizard does, with the hidden main dialog as parent, and runs act
  // on its window.
  int show(PlainPage& page, std::function<void(QWidget&)> act) {
    WhenModalAppears(std::move(act));
    QtPageRunner runner(mainDialog_);
    return page.runOn(runner);
  }

private slots:
  void initTestCase() { mainDialog_ = new MainDialogWindow(clock_); }
  void cleanupTestCase() { delete mainDialog_; }

  void forwardButtonEndsWithOk() {
    for (const int id : kPlainPages) {
      PlainPage page(0, id);
      QCOMPARE(show(page, [](QWidget& m) { button(m, ids::kOk)->click(); }), modal::kOk);
    }
  }

  void cancelAndPreviousBothEndWithCancelButOnlyPreviousIsRemembered() {
    PlainPage step2(2, tpl::kConnectComputer);
    QCOMPARE(show(step2, [](QWidget& m) { button(m, ids::kPrevious)->click(); }), modal::kCancel);
    QVERIFY(step2.previousPressed);
    QCOMPARE(show(step2, [](QWidget& m) { button(m, ids::kCancel)->click(); }), modal::kCancel);
    QVERIFY(!step2.previousPressed);
  }

  void enterGoesForwardAndEscapeCancels() {
    PlainPage step8(8, tpl::kTurnOnAgain);
    QCOMPARE(show(step8, [](QWidget& m) { QTest::keyClick(&m, Qt::Key_Return); }), modal::kOk);
    step8.previousPressed = true;
    // Escape on a page whose Cancel button is disabled still takes the cancel route.
    QCOMPARE(show(step8, [](QWidget& m) { QTest::keyClick(&m, Qt::Key_Escape); }),
             modal::kCancel);
    QVERIFY(!step8.previousPressed);
    // So does the window manager's close.
    PlainPage step4(4, tpl::kTurnOn);
    QCOMPARE(show(step4, [](QWidget& m) { m.close(); }), modal::kCancel);
  }

  void enterOnAFocusedButtonPressesThatButton() {
    IntroPage intro;
    QCOMPARE(show(intro,
                  [](QWidget& m) {
                    QVERIFY(testing::FocusOn(*button(m, ids::kCancel)));
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                  }),
             modal::kCancel);
    // Enter on step 5, where YES is not the default button, is still YES.
    ScreenCheckPage step5{kConnectionCheck};
    QCOMPARE(show(step5, [](QWidget& m) { QTest::keyClick(&m, Qt::Key_Enter); }), modal::kOk);
  }

  void disabledCancelCannotBeClicked() {
    PlainPage step7(7, tpl::kTurnOff);
    QCOMPARE(show(step7,
                  [](QWidget& m) {
                    QTest::mouseClick(button(m, ids::kCancel), Qt::LeftButton);
                    QVERIFY(m.isVisible());
                    button(m, ids::kOk)->click();
                  }),
             modal::kOk);
  }

  void twoNoAnswersRemindAndTheThirdEndsWithNoticeE20() {
    ScreenCheckPage step5{kConnectionCheck};
    SeenNotice first, second, last;
    const int result = show(step5, [&](QWidget& m) {
      AnswerNextNotice(first);
      button(m, ids::kCancel)->click();
      QVERIFY(m.isVisible());
      AnswerNextNotice(second);
      QTest::keyClick(&m, Qt::Key_Escape); // Escape counts as NO
      QVERIFY(m.isVisible());
      AnswerNextNotice(last);
      button(m, ids::kCancel)->click();
    });
    QCOMPARE(result, modal::kCancel);
    QVERIFY(first.seen && second.seen && last.seen);
    QCOMPARE(first.caption, QStringLiteral("NOTICE"));
    QCOMPARE(first.text,
             QStringLiteral("Please double check your connections and press OK when ready!"));
    QCOMPARE(second.caption, QStringLiteral("NOTICE"));
    QCOMPARE(last.caption, QStringLiteral("NOTICE E:20"));
    QCOMPARE(last.text, QStringLiteral("There is a connection error.  Please check your "
                                       "connections and try running this program again."));
    QCOMPARE(step5.mismatchCount, 2);
  }

  void aYesAfterRemindersGoesOnAndTheCountStartsAfreshNextTime() {
    ScreenCheckPage step9{kRestartCheck};
    SeenNotice reminder;
    QCOMPARE(show(step9,
                  [&](QWidget& m) {
                    AnswerNextNotice(reminder);
                    button(m, ids::kCancel)->click();
                    button(m, ids::kOk)->click();
                  }),
             modal::kOk);
    QCOMPARE(reminder.text, QStringLiteral("Please double check your connections!"));
    QCOMPARE(show(step9, [&](QWidget& m) { QVERIFY(m.isVisible()); asPage(m).endPage(2); }),
             modal::kCancel);
    QCOMPARE(step9.mismatchCount, 0);
  }

  void f9OnStep1SwitchesOnDescriptiveLoggingWhereverTheFocusIs() {
    updateLog().setLevel(1);
    IntroPage intro;
    SeenNotice first, second;
    bool stillOpen = false;
    const int result = show(intro, [&](QWidget& m) {
      // Keys come from the window system, as a user's do, to whichever control has the focus.
      QVERIFY(testing::FocusOn(*button(m, ids::kCancel)));
      QTest::keyClick(m.windowHandle(), Qt::Key_F8); // nothing of the kind
      QCOMPARE(QApplication::activeModalWidget(), &m);
      AnswerNextNotice(first);
      QTest::keyClick(m.windowHandle(), Qt::Key_F9);
      QVERIFY(first.seen);
      AnswerNextNotice(second);
      QVERIFY(testing::FocusOn(*button(m, ids::kOk)));
      QTest::keyClick(m.windowHandle(), Qt::Key_F9);
      stillOpen = m.isVisible();
      button(m, ids::kOk)->click();
    });
    QCOMPARE(result, modal::kOk);
    QVERIFY(stillOpen);
    QCOMPARE(first.caption, QStringLiteral("NOTICE"));
    QCOMPARE(first.text, QStringLiteral("Descriptive Logging has been turned ON."));
    QVERIFY(second.seen);
    QCOMPARE(updateLog().level(), 3);
    updateLog().setLevel(1);
  }

  void f9OnOtherPagesDoesNothing() {
    updateLog().setLevel(1);
    PlainPage step2(2, tpl::kConnectComputer);
    QCOMPARE(show(step2,
                  [](QWidget& m) {
                    QTest::keyClick(m.windowHandle(), Qt::Key_F9);
                    QCOMPARE(QApplication::activeModalWidget(), &m); // no notice opened
                    button(m, ids::kOk)->click();
                  }),
             modal::kOk);
    QCOMPARE(updateLog().level(), 1);
  }

  // The golfer holds Enter down on step 1: the key goes down once, then repeats into step 2,
  // whose question nobody has read yet. Only a new press, after step 2 appeared, answers it.
  void aHeldEnterAnswersOnlyThePageItWentDownOn() {
    const auto enter = [](QWidget& m, QEvent::Type type, bool autoRepeat) {
      qt_handleKeyEvent(m.windowHandle(), type, Qt::Key_Return, Qt::NoModifier,
                        QStringLiteral("\r"), autoRepeat);
    };
    IntroPage step1;
    QCOMPARE(show(step1, [&](QWidget& m) { enter(m, QEvent::KeyPress, false); }), modal::kOk);
    PlainPage step2(2, tpl::kConnectComputer);
    bool heldOver = false;
    QCOMPARE(show(step2,
                  [&](QWidget& m) {
                    for (int i = 0; i < 5; ++i) {
                      enter(m, QEvent::KeyRelease, true);
                      enter(m, QEvent::KeyPress, true);
                    }
                    heldOver = m.isVisible();
                    enter(m, QEvent::KeyRelease, false);
                    enter(m, QEvent::KeyPress, false);
                  }),
             modal::kOk);
    QVERIFY(heldOver);
  }

  void pagesOpenOnTopOfTheHiddenMainDialog() {
    PlainPage step3(3, tpl::kConnectDevice);
    show(step3, [this](QWidget& m) {
      QCOMPARE(m.parentWidget(), mainDialog_);
      QVERIFY(!mainDialog_->isVisible());
      QVERIFY(m.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      asPage(m).endPage(modal::kOk);
    });
    QVERIFY(!mainDialog_->isVisible());
  }
};

} // namespace quillon

QTEST_MAIN(quillon::PlainPageWindowTest)
#include "gui_plain_page_window_test.moc"
