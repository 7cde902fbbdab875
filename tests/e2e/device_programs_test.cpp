// The virtual Yardmark's two programs as the demo drives them through DeviceProcess: the line
// they print first, the power lines and the state they answer with, a clean stop that leaves
// the flash dump; and the window's own power key.
#include <filesystem>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "demo/device_process.h"
#include "demo/yardmark_window.h"
#include "sim/virtual_yardmark.h"
#include "testsupport/scratch_folder.h"

namespace quillon::demo {
namespace {

namespace fs = std::filesystem;

class DevicePrograms : public ::testing::TestWithParam<const char*> {
protected:
  static void SetUpTestSuite() {
    // Both for the window in this process and for yardmark-window as a child.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "device_programs_test";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
  }

  fs::path folder(const std::string& name) const { return scratch.freshFolder(name); }

  test::ScratchFolder scratch;
};

TEST_P(DevicePrograms, PowerLinesAreAnsweredWithTheNewStateAndQuitLeavesTheFlashDump) {
  const auto work = folder(fs::path(GetParam()).filename().string());
  DeviceProcess device;
  ASSERT_TRUE(device.start(QString::fromUtf8(GetParam()),
                           {QStringLiteral("--link=%1").arg((work / "yardmark").c_str()),
                            QStringLiteral("--flash-dump=%1").arg((work / "dump.mot").c_str())}))
      << device.error().toStdString();
  EXPECT_TRUE(QFileInfo(device.slavePath()).exists()) << device.slavePath().toStdString();
  EXPECT_TRUE(device.status().startsWith(QStringLiteral("state ready "))) << device.status().toStdString();
  EXPECT_TRUE(device.powerOff().startsWith(QStringLiteral("state off ")));
  EXPECT_TRUE(device.powerOn().startsWith(QStringLiteral("state ready ")));
  EXPECT_TRUE(device.quit());
  EXPECT_TRUE(fs::exists(work / "dump.mot"));
  // Once it has stopped there is nobody to answer.
  EXPECT_EQ(device.status(), QString());
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, DevicePrograms,
                         ::testing::Values(QUILLON_YARDMARK_SIM, QUILLON_YARDMARK_WINDOW));

TEST(DeviceProcess, AProgramThatCannotStartIsReported) {
  DeviceProcess device;
  EXPECT_FALSE(device.start(QStringLiteral("/nonexistent/yardmark-sim"), {}));
  EXPECT_TRUE(device.error().contains(QStringLiteral("did not start")));
}

TEST(DeviceProcess, AProgramThatRefusesItsOptionsGivesNoLine) {
  DeviceProcess device;
  EXPECT_FALSE(device.start(QString::fromUtf8(QUILLON_YARDMARK_SIM), {QStringLiteral("--bogus")}));
  EXPECT_TRUE(device.error().contains(QStringLiteral("gave no line")));
}

TEST_F(DevicePrograms, ThePowerKeySwitchesTheDeviceAndTheStateLineFollows) {
  sim::VirtualYardmark device(sim::YardmarkOptions{});
  ASSERT_TRUE(device.start()) << device.error();
  YardmarkWindow window(device, 0);
  auto* key = window.findChild<QPushButton*>();
  ASSERT_NE(key, nullptr);
  QLabel* state = nullptr;
  for (auto* label : window.findChildren<QLabel*>())
    state = label;
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->text(), QStringLiteral("ready"));
  key->click();
  EXPECT_EQ(device.state(), sim::DeviceState::Off);
  EXPECT_EQ(state->text(), QStringLiteral("off"));
  key->click();
  EXPECT_EQ(device.state(), sim::DeviceState::Ready);
  EXPECT_EQ(state->text(), QStringLiteral("ready"));
  device.unplug();
  QApplication::processEvents();
  window.findChild<QPushButton*>()->click();
  EXPECT_EQ(device.state(), sim::DeviceState::Unplugged);
  device.stop();
}

} // namespace
} // namespace quillon::demo
