// quillon-demo end to end: the wizard, the Qt windows on the offscreen platform, a scripted
// golfer and the virtual Yardmark in its own process, checked by what the run prints, its
// exit status, the log and the device's flash.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "demo_run.h"

namespace quillon::e2e {
namespace {

namespace fs = std::filesystem;

std::vector<int> Steps(int first, int last) {
  std::vector<int> steps;
  for (int step = first; step <= last; ++step)
    steps.push_back(step);
  return steps;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DemoUpdate, AFullRunFlashesTheFirmwareAndVerifiesTheNewVersion) {
  const auto work = FreshFolder("verified");
  const DemoRun run = RunDemo(work, {});
  ASSERT_EQ(run.exitStatus, 0) << run.transcript();
  EXPECT_EQ(run.pages(), Steps(1, 11));
  // Each page is printed with the step title its window shows.
  for (const int step : Steps(1, 11)) {
    const std::string n = std::to_string(step);
    EXPECT_EQ(run.startingWith("page " + n + ": Step " + n + " of 11").size(), 1U) << step;
  }
  EXPECT_EQ(run.startingWith("  result: OK").size(), 11U);
  EXPECT_TRUE(run.startingWith("notice:").empty()) << run.transcript();
  // The golfer did what steps 7 and 8 asked, and the device saw it.
  EXPECT_EQ(run.startingWith("  golfer: switches the Yardmark off: state off").size(), 1U);
  EXPECT_EQ(run.startingWith("  golfer: switches the Yardmark on: state ready").size(), 1U);
  EXPECT_TRUE(run.printed("  row 7. Loading Firmware: DONE"));
  EXPECT_TRUE(run.printed("  status: Firmware Update Complete!"));
  EXPECT_TRUE(run.printed("  status: Firmware Update Successful!"));
  EXPECT_TRUE(run.printed("  progress: 100%"));
  EXPECT_GT(run.framesReceived(), 0);

  // The demo wrote its own Orbfix.dat and sample firmware, and left the flash beside them.
  ASSERT_TRUE(fs::exists(work / "gps_firmware.mot"));
  EXPECT_EQ(ReadAll(work / "Orbfix.dat"),
            "Release 4\n1.0\ngps_firmware.mot\n$PASHR,VER,GPS,2.0.00\n30\n");
  EXPECT_GT(DataRecords(work / "flash-dump.mot"), 0);
  EXPECT_TRUE(SameData(work / "flash-dump.mot", work / "gps_firmware.mot"));
  // At the errors-only level a successful run logs no error.
  EXPECT_EQ(ReadAll(work / "Orbfix.log").find("Error"), std::string::npos);
}

TEST(DemoUpdate, AFrameThatFailsMidUploadIsSentAgainAndTheRunStillVerifies) {
  const auto work = FreshFolder("fail-mid-upload");
  const DemoRun run = RunDemo(work, {"--sim-option=--fault=fail=3"});
  ASSERT_EQ(run.exitStatus, 0) << run.transcript();
  EXPECT_EQ(run.pages(), Steps(1, 11));
  EXPECT_TRUE(SameData(work / "flash-dump.mot", work / "gps_firmware.mot"));
}

TEST(DemoUpdate, ScreenshotsShowEveryPageAndEveryNoticeInTheOrderOfTheRun) {
  const auto work = FreshFolder("screenshots");
  const auto shots = work / "shots";
  // NO once on step 5 (a reminder notice), Previous once on step 8 (step 7 again).
  const DemoRun run =
      RunDemo(work, {"--screenshots", shots.string(), "--answers", "step5=no,yes;step8=previous"});
  ASSERT_EQ(run.exitStatus, 0) << run.transcript();
  const std::vector<int> shown{1, 2, 3, 4, 5, 6, 7, 8, 7, 8, 9, 10, 11};
  EXPECT_EQ(run.pages(), shown);
  EXPECT_TRUE(run.printed(
      "notice: NOTICE: Please double check your connections and press OK when ready!"));

  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(shots))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  const std::vector<std::string> expected{
      "01-step1.png",  "02-step2.png", "03-step3.png",  "04-step4.png", "05-step5.png",
      "06-notice.png", "07-step6.png", "08-step7.png",  "09-step8.png", "10-step7.png",
      "11-step8.png",  "12-step9.png", "13-step10.png", "14-step11.png"};
  EXPECT_EQ(names, expected);
  for (const auto& name : names) {
    const std::string png = ReadAll(shots / name);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n")) << name;
    EXPECT_GT(png.size(), 2000U) << name; // a real window, not an empty picture
  }
}

} // namespace
} // namespace quillon::e2e
