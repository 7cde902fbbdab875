// What lies around a load, with the real programs: the logind lock that keeps the computer
// awake while the GPS chip is written (on a private system bus with a stand-in logind, as this
// machine runs no systemd), and the log's line when a signal stops the program half-way.
#include "app/logind_power_hold.h"
#include "testsupport/scratch_folder.h"

#include <QCoreApplication>
#include <QProcess>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace quillon::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kAnswerMs = 20000;
// How long the stand-in logind must stay quiet for "nothing more was asked of it".
constexpr int kQuietMs = 1000;
const QString kInhibitLine =
    QStringLiteral("inhibit sleep:shutdown|Quillon|Updating the Yardmark's GPS firmware|block");

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The next line `process` prints that begins with `prefix`; empty when none comes in time.
QString LineStartingWith(QProcess& process, const QString& prefix) {
  for (;;) {
    while (process.canReadLine()) {
      const QString line = QString::fromUtf8(process.readLine()).trimmed();
      if (line.startsWith(prefix))
        return line;
    }
    if (!process.waitForReadyRead(kAnswerMs))
      return {};
  }
}

// A system bus of our own (dbus-daemon in a scratch folder) with the stand-in logind on it.
class PrivateSystemBus : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "power_and_signals_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
  }

  void SetUp() override {
    const fs::path config = scratch.path("bus.conf");
    std::ofstream(config)
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>system</type><listen>unix:dir="
        << scratch.path().string()
        << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
           "<allow user=\"*\"/><allow own=\"*\"/><allow send_destination=\"*\"/>"
           "<allow receive_sender=\"*\"/></policy></busconfig>\n";
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
               QStringLiteral("--config-file=") + QString::fromStdString(config.string())});
    ASSERT_TRUE(bus.waitForStarted(kAnswerMs)) << "dbus-daemon: scripts/install-deps installs it";
    address = LineStartingWith(bus, QStringLiteral("unix:"));
    ASSERT_FALSE(address.isEmpty());
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
    logind.setProcessEnvironment(environment);
    logind.start(QStringLiteral(QUILLON_STAND_IN_LOGIND), {});
    ASSERT_EQ(LineStartingWith(logind, QStringLiteral("ready")), QStringLiteral("ready"));
  }

  void TearDown() override {
    for (QProcess* process : {&demo, &logind, &bus}) {
      process->kill();
      process->waitForFinished(kAnswerMs);
    }
  }

  // The device paces the load at the line rate, a few seconds of real time, so the test sees
  // the middle of it on a busy machine too.
  void startDemo() {
    demo.setProcessEnvironment(environment);
    demo.setProcessChannelMode(QProcess::MergedChannels);
    demo.start(QStringLiteral(QUILLON_DEMO_PROGRAM),
               {QStringLiteral("--headless"), QStringLiteral("--time-scale=0.05"),
                QStringLiteral("--sim-option=--pace"),
                QStringLiteral("--workdir=") + QString::fromStdString(work.string())});
    ASSERT_TRUE(demo.waitForStarted(kAnswerMs));
  }

  // Holds the demo still while the stand-in logind is asked what it holds.
  void pauseDemo() { ::kill(static_cast<pid_t>(demo.processId()), SIGSTOP); }
  void resumeDemo() { ::kill(static_cast<pid_t>(demo.processId()), SIGCONT); }

  test::ScratchFolder scratch;
  fs::path work = scratch.freshFolder("work");
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  QString address;
  QProcess bus;
  QProcess logind;
  QProcess demo;
};

TEST_F(PrivateSystemBus, SleepAndShutdownAreHeldBackWhileTheFlashIsWrittenAndOnlyThen) {
  startDemo();
  ASSERT_FALSE(LineStartingWith(demo, QStringLiteral("progress: 40%")).isEmpty());
  pauseDemo();
  EXPECT_EQ(LineStartingWith(logind, QStringLiteral("inhibit")), kInhibitLine);
  logind.waitForReadyRead(kQuietMs);
  EXPECT_FALSE(logind.canReadLine()) << "let go before the load ended";
  resumeDemo();
  ASSERT_FALSE(LineStartingWith(demo, QStringLiteral("page 7")).isEmpty());
  pauseDemo();
  EXPECT_EQ(LineStartingWith(logind, QStringLiteral("released")), QStringLiteral("released"));
  resumeDemo();
  EXPECT_FALSE(LineStartingWith(demo, QStringLiteral("verified:")).isEmpty());
  ASSERT_TRUE(demo.waitForFinished(kAnswerMs));
  EXPECT_EQ(demo.exitCode(), 0);
  logind.waitForReadyRead(kQuietMs);
  EXPECT_FALSE(logind.canReadLine()) << "a second lock, or a second release";
}

TEST_F(PrivateSystemBus, ASignalMidLoadLeavesItsLineInTheLogAndLetsGo) {
  startDemo();
  ASSERT_FALSE(LineStartingWith(demo, QStringLiteral("progress: 40%")).isEmpty());
  EXPECT_EQ(LineStartingWith(logind, QStringLiteral("inhibit")), kInhibitLine);
  ::kill(static_cast<pid_t>(demo.processId()), SIGTERM);
  ASSERT_TRUE(demo.waitForFinished(kAnswerMs));
  // Ended by the signal itself, as before: a shell sees 143.
  EXPECT_EQ(demo.exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(LineStartingWith(logind, QStringLiteral("released")), QStringLiteral("released"));
  EXPECT_NE(ReadAll(work / "Orbfix.log")
                .find("\tError\tStep 6 interrupted by SIGTERM while loading the firmware, so the "
                      "GPS chip may hold only part of it: switch the Yardmark off and on and run "
                      "the program again"),
            std::string::npos)
      << ReadAll(work / "Orbfix.log");
}

TEST_F(PrivateSystemBus, WithoutLogindTheHoldSaysWhy) {
  LogindPowerHold hold;
  std::string why;
  qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());
  logind.kill();
  logind.waitForFinished(kAnswerMs);
  EXPECT_FALSE(hold.take(why));
  EXPECT_TRUE(why.starts_with("logind gave no lock")) << why;
}

} // namespace
} // namespace quillon::e2e
