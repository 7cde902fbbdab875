// quillon-demo when the update must not or cannot go on: each run ends on its numbered notice
// with a non-zero exit status, and the device's flash tells whether anything was written.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "demo_run.h"

namespace quillon::e2e {
namespace {

namespace fs = std::filesystem;

const std::vector<int> kUpToStep6{1, 2, 3, 4, 5, 6};

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DemoRefusals, NoDeviceOnThePortEndsWithNoticeE4) {
  const auto work = FreshFolder("no-device");
  const DemoRun run = RunDemo(work, {"--port", (work / "no-such-tty").string()});
  EXPECT_EQ(run.exitStatus, 1) << run.transcript();
  EXPECT_EQ(run.pages(), kUpToStep6);
  EXPECT_TRUE(run.printed("notice: NOTICE E:4: The program could not find your Yardmark.  "
                          "Please check your connections and run this program again"))
      << run.transcript();
  EXPECT_TRUE(run.printed("  row 2. Locating the Yardmark: FAIL"));
  EXPECT_NE(ReadAll(work / "Orbfix.log").find("(E:4)"), std::string::npos);
}

// The device search waits at the demo's time scale too: a silent device gives E:4 in seconds.
TEST(DemoRefusals, ASilentDeviceEndsWithNoticeE4) {
  const auto work = FreshFolder("silent");
  const DemoRun run = RunDemo(work, {"--sim-option=--fault=silent"});
  EXPECT_EQ(run.exitStatus, 1) << run.transcript();
  EXPECT_EQ(run.pages(), kUpToStep6);
  EXPECT_EQ(run.startingWith("notice: NOTICE E:4:").size(), 1U) << run.transcript();
}

TEST(DemoRefusals, ALowBatteryEndsWithNoticeE7BeforeAnyFrame) {
  const auto work = FreshFolder("battery-low");
  const DemoRun run = RunDemo(work, {"--sim-option=--battery=010"});
  EXPECT_EQ(run.exitStatus, 1) << run.transcript();
  EXPECT_EQ(run.pages(), kUpToStep6);
  EXPECT_EQ(run.startingWith("notice: NOTICE E:7: The Yardmark's battery has been determined "
                             "too low to continue.")
                .size(),
            1U)
      << run.transcript();
  EXPECT_EQ(run.framesReceived(), 0);
}

TEST(DemoRefusals, ADeviceAlreadyUpToDateGetsNoticeE13AndNoFrame) {
  const auto work = FreshFolder("up-to-date");
  const DemoRun run = RunDemo(work, {"--sim-option=--gps-version=$PASHR,VER,GPS,2.0.00"});
  EXPECT_EQ(run.exitStatus, 1) << run.transcript();
  EXPECT_EQ(run.pages(), kUpToStep6);
  EXPECT_TRUE(run.printed("notice: NOTICE E:13: The latest firmware is already installed on "
                          "your Yardmark.  The program will now exit."))
      << run.transcript();
  EXPECT_EQ(run.framesReceived(), 0);
  ASSERT_TRUE(fs::exists(work / "flash-dump.mot"));
  EXPECT_EQ(DataRecords(work / "flash-dump.mot"), 0);
}

TEST(DemoRefusals, ADifferentVersionAfterThePowerCycleEndsWithNoticeE24) {
  const auto work = FreshFolder("other-version");
  const DemoRun run = RunDemo(work, {"--sim-option=--new-gps-version=$PASHR,VER,GPS,2.0.01"});
  EXPECT_EQ(run.exitStatus, 1) << run.transcript();
  EXPECT_EQ(run.pages(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(run.startingWith("notice: NOTICE E:24: The GPS Version this program tried to load "
                             "may not match")
                .size(),
            1U)
      << run.transcript();
  // The flash itself was written whole: it is the version check that failed.
  EXPECT_TRUE(SameData(work / "flash-dump.mot", work / "gps_firmware.mot"));
  EXPECT_NE(ReadAll(work / "Orbfix.log").find("(E:24)"), std::string::npos);
}

TEST(DemoRefusals, NoOnTheFirstPageEndsTheWizardWithoutTouchingTheDevice) {
  const auto work = FreshFolder("no-on-step1");
  const DemoRun run = RunDemo(work, {"--answers=step1=no"});
  EXPECT_EQ(run.exitStatus, 1) << run.transcript();
  EXPECT_EQ(run.pages(), (std::vector<int>{1}));
  EXPECT_TRUE(run.printed("  golfer: NO"));
  EXPECT_EQ(run.framesReceived(), 0);
  EXPECT_EQ(run.startingWith("device: state ready ").size(), 1U) << run.transcript();
}

TEST(DemoRefusals, ALogThatCannotBeWrittenIsSaidAndNotNamed) {
  const auto work = FreshFolder("no-log");
  fs::create_directory(work / "Orbfix.log");
  const DemoRun run = RunDemo(work, {"--answers=step1=no"});
  EXPECT_EQ(run.startingWith("notice: NOTICE: The log file Orbfix.log cannot be written").size(),
            1U)
      << run.transcript();
  EXPECT_TRUE(run.startingWith("log: ").empty()) << run.transcript();
  EXPECT_EQ(run.startingWith("no log: ").size(), 1U) << run.transcript();
}

TEST(DemoRefusals, ACommandLineThatMakesNoSenseExitsWithTwoAndRunsNothing) {
  const auto work = FreshFolder("bad-usage");
  const std::vector<std::vector<std::string>> refused{
      {"--time-scale=0"},     {"--answers=step12=no"},
      {"--answers=step3=maybe"}, {"--no-such-option"},
      {"--port=/dev/null", "--sim-option=--battery=010"}};
  for (const auto& arguments : refused) {
    const DemoRun run = RunDemo(work, arguments);
    EXPECT_EQ(run.exitStatus, 2) << arguments.front() << "\n" << run.transcript();
    EXPECT_TRUE(run.pages().empty());
  }
  EXPECT_FALSE(fs::exists(work / "Orbfix.dat"));
}

} // namespace
} // namespace quillon::e2e
