#include "device_rig.h"
#include "pages/modal_result.h"
#include "pages/wizard_driver.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

using Events = std::vector<std::string>;

// The whole wizard as a golfer runs it: the driver, the real pages, the virtual Yardmark.
class WizardRun : public ::testing::Test {
protected:
  void SetUp() override {
    rig.capture.writeFile("Orbfix.dat", "Release 4\r\n1.2\r\n" + rig.firmware.string() + "\r\n" +
                                            kNewGps + "\r\n30\r\n");
  }

  void walk(std::vector<int> keysOnStep1) {
    const auto next = [] { return press({PageInput::Forward}); };
    runner.answers = {
        press({PageInput::Forward}, std::move(keysOnStep1)),
        next(),
        next(),
        next(),
        next(),
        runIt(),
        next(),
        Answer{std::vector<PageInput>{PageInput::Forward}, {}, [this] { rig.powerCycle(); }},
        next(),
        runIt(),
        press({PageInput::Forward})};
    WizardDriver driver(
        dialog, runner, rig.link, rig.pageClock,
        {(rig.capture.directory() / "Orbfix.dat").string(), rig.capture.directory().string()});
    driver.run();
  }

  DeviceRig rig;
  RecordingDialog dialog{rig.events};
  ScriptedRunner runner{rig.events};
};

TEST_F(WizardRun, ASuccessfulUpdateWritesNothingAtTheDefaultLevel) {
  walk({});
  EXPECT_EQ(runner.shownSteps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(rig.device->state(), sim::DeviceState::Off);
  EXPECT_EQ(dialog.endCount, 1);
  EXPECT_TRUE(rig.capture.lines().empty());
}

TEST_F(WizardRun, DescriptiveLoggingTellsTheWholeStory) {
  walk({kVirtualKeyF9});
  EXPECT_EQ(runner.shownSteps.size(), 11U);
  const auto lines = rig.capture.lines();
  Events modules;
  for (const auto& line : lines) {
    EXPECT_EQ(line.fields, 4);
    EXPECT_GT(line.sourceLine, 0);
    if (modules.empty() || modules.back() != line.module)
      modules.push_back(line.module);
  }
  EXPECT_EQ(modules,
            (Events{"Step1Intro.cpp", "QuillonDlg.cpp", "Step5VerifyConnection.cpp",
                    "QuillonDlg.cpp", "Step3Update.cpp", "DeviceWork.cpp", "Step3Update.cpp",
                    "QuillonDlg.cpp", "Step9VerifyKV7.cpp", "QuillonDlg.cpp", "Step5Verify.cpp",
                    "QuillonDlg.cpp"}));
  EXPECT_EQ(lines.back().message, "Step 12: Exit - initiated");
  for (const auto& line : lines)
    EXPECT_NE(line.kind, "Error") << line.message;
}

} // namespace
} // namespace quillon::testing
