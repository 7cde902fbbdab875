// A real device page in its real window: step 10 on a virtual Yardmark over a pseudo-terminal,
// wired as the program wires it (the link lives in the hidden main dialog and waits on the
// pumping clock). While the page talks to the device, the window stays up, modal, and keeps
// answering the window system, so what the golfer sees moves along with the work.
#include "modal_watch.h"
#include "pages/modal_result.h"
#include "pages/pumping_clock.h"
#include "pages/reset_and_verify_page.h"
#include "sim/virtual_yardmark.h"
#include "ui/main_dialog_window.h"
#include "ui/progress_page_window.h"
#include "ui/qt_page_runner.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <set>

namespace quillon {
namespace {

constexpr auto kNewGps = "$PASHR,VER,GPS,2.0.00";
// The device and the program's waits both run at a twentieth of real time.
constexpr double kTimeScale = 0.05;

// What the golfer could see of the page while it worked, sampled from the window system's
// side: a timer only runs when the window is being kept alive.
struct Watcher {
  std::set<QString> statuses;
  int samples = 0;
  bool alwaysModal = true;
  QTimer timer;

  Watcher() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
      auto* window = qobject_cast<ProgressPageWindow*>(QApplication::activeModalWidget());
      if (!window)
        return;
      ++samples;
      alwaysModal = alwaysModal && window->isVisible() && window->isModal();
      statuses.insert(window->controlAs<QLabel>(1028)->text());
    });
    timer.start(1);
  }
};

struct Rig {
  SystemClock time{kTimeScale};
  PumpingClock clock{time};
  MainDialogWindow mainDialog{clock};
  sim::VirtualYardmark device;
  OrbfixValues inputs;
  ResetAndVerifyPage page{mainDialog.link(), clock, inputs};

  explicit Rig(const char* gpsVersion) : device(options(gpsVersion)) {}

  static sim::YardmarkOptions options(const char* gpsVersion) {
    sim::YardmarkOptions o;
    o.gpsVersion = gpsVersion;
    o.timeScale = kTimeScale;
    return o;
  }

  bool found() {
    if (!device.start())
      return false;
    mainDialog.link().setCandidatePorts({device.slavePath()});
    inputs.targetGpsVersion = kNewGps;
    return mainDialog.link().FindDevice() == KV7SUCCESS; // as step 6 left it
  }

  int run() {
    QtPageRunner runner(&mainDialog);
    return page.runOn(runner);
  }
};

} // namespace

class DevicePageWindowTest : public QObject {
  Q_OBJECT

private slots:
  void theWindowFollowsTheWorkAndStaysAliveThroughTheLongWaits() {
    Rig rig(kNewGps);
    QVERIFY2(rig.found(), qPrintable(QString::fromStdString(rig.device.error())));
    Watcher watcher;
    QCOMPARE(rig.run(), modal::kOk);
    QVERIFY(watcher.alwaysModal);
    // The 20 s GPS reset alone takes a second of real time: the window was answered all along.
    QVERIFY2(watcher.samples > 50, qPrintable(QString::number(watcher.samples)));
    for (const char* status :
         {"...Resetting the GPS...", "...GPS Version Verified...", "Firmware Update Successful!"})
      QVERIFY2(watcher.statuses.count(QString::fromLatin1(status)), status);
    QVERIFY(!rig.mainDialog.isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
  }

  void aWrongVersionIsANoticeOfThePageAndEndsItWithCancel() {
    Rig rig("$PASHR,VER,GPS,1.0.00");
    QVERIFY(rig.found());
    testing::SeenNotice seen;
    testing::AnswerNextNotice(seen, 30000);
    QCOMPARE(rig.run(), modal::kCancel);
    QVERIFY(seen.seen);
    QCOMPARE(seen.caption, QStringLiteral("NOTICE E:24"));
    QCOMPARE(seen.ownerType, QStringLiteral("quillon::ProgressPageWindow"));
  }
};

} // namespace quillon

QTEST_MAIN(quillon::DevicePageWindowTest)
#include "gui_device_page_window_test.moc"
