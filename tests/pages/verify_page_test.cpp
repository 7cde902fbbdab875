#include "device_rig.h"
#include "log/update_log.h"
#include "pages/modal_result.h"
#include "pages/notice_texts.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

using Events = std::vector<std::string>;

const std::string kM3 = "notice NOTICE E:21 | " + std::string(kManualResetNotice);

// A Yardmark that already runs the new firmware and has been found, as after step 6.
struct Verified : DeviceRig {
  explicit Verified(std::vector<std::string> faults = {}) : DeviceRig(options(faults)) {
    EXPECT_EQ(link.FindDevice(), KV7SUCCESS);
    events.events.clear();
  }
  static sim::YardmarkOptions options(std::vector<std::string> faults) {
    sim::YardmarkOptions o;
    o.gpsVersion = kNewGps;
    o.faults = std::move(faults);
    return o;
  }
};

std::string notice(int number, std::string_view text) {
  return "notice NOTICE E:" + std::to_string(number) + " | " + std::string(text);
}

TEST(ResetAndVerify, TheWholeSequenceAsTheUserSeesIt) {
  Verified rig;
  ASSERT_EQ(rig.runVerify(), modal::kOk);
  EXPECT_EQ(rig.pageEvents(), (Events{"present",
                                      "progress 0",
                                      "row 1 -",
                                      "row 2 -",
                                      "row 3 -",
                                      "row 4 -",
                                      "row 5 -",
                                      "status ",
                                      "ok disabled",
                                      "cancel disabled",
                                      "row 1 WORKING",
                                      "status ...Turning On Command Mode...",
                                      "repaint",
                                      "progress 10",
                                      "wait 1000",
                                      "progress 20",
                                      "row 1 DONE",
                                      "status ...Command Mode Set...",
                                      "repaint",
                                      "wait 2000",
                                      "row 2 WORKING",
                                      "status ...Resetting the GPS...",
                                      "repaint",
                                      "progress 30",
                                      "wait 1000",
                                      "progress 50",
                                      "row 2 DONE",
                                      "status ...GPS Reset...",
                                      "repaint",
                                      "progress 60",
                                      "row 3 WORKING",
                                      "status ...Reading the GPS Version...",
                                      "repaint",
                                      "wait 1000",
                                      "progress 70",
                                      "row 3 DONE",
                                      "status ...GPS Version Received...",
                                      "repaint",
                                      "wait 2000",
                                      "row 4 WORKING",
                                      "status ...Verifying the GPS Version...",
                                      "repaint",
                                      "progress 80",
                                      "wait 1000",
                                      "row 4 DONE",
                                      "status ...GPS Version Verified...",
                                      "repaint",
                                      "progress 90",
                                      "wait 2000",
                                      "row 5 WORKING",
                                      "status ...Shutting down Yardmark...",
                                      "repaint",
                                      "wait 1000",
                                      "progress 100",
                                      "row 5 DONE",
                                      "status Firmware Update Successful!",
                                      "repaint",
                                      "wait 2000",
                                      "end 1",
                                      "ok enabled"}));
  EXPECT_EQ(
      rig.logOf("Step5Verify.cpp"),
      (Events{"DevInfo:      Initializing dialog info", "DevInfo:      Initializing state info",
              "DevInfo:      Initializing state processing info",
              "Info:      Starting Verification", "Info:      Turning On Command Mode...",
              "Info:      Command Mode Set", "Info:      Resetting the GPS...",
              "Info:      GPS Reset Successful", "Info:      Reading GPS Version...",
              "Info:      GPS Version Read", "Info:      Verify GPS Version...",
              "Info:      GPS Version Valid",
              "Info:      GPS Version Correct: $PASHR,VER,GPS,2.0.00",
              "Info:      Shutting Down KV7...", "Info:      KV7 Shutdown Successful",
              "Info:      Firwmare Update Succesful"}));
}

TEST(ResetAndVerify, TheResetsOwnWaitComesFromTheLinkNotThePage) {
  Verified rig;
  ASSERT_EQ(rig.runVerify(), modal::kOk);
  const Events& events = rig.events.events;
  const auto reset = std::find(events.begin(), events.end(), "status ...GPS Reset...");
  ASSERT_NE(reset, events.end());
  const auto before = std::find_if(std::make_reverse_iterator(reset), events.rend(),
                                   [](const std::string& e) { return e.starts_with("device"); });
  ASSERT_NE(before, events.rend());
  EXPECT_GE(std::stoi(before->substr(std::string("device wait ").size())), 20000);
}

TEST(ResetAndVerify, AVersionThatDiffersEndsWithE24AfterThePowerCycle) {
  sim::YardmarkOptions options; // never updated: still the old version
  DeviceRig rig(options);
  ASSERT_EQ(rig.link.FindDevice(), KV7SUCCESS);
  rig.powerCycle();
  EXPECT_EQ(rig.runVerify(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(),
            (Events{notice(24, "The GPS Version this program tried to load may not match the GPS "
                               "Version currently on your Yardmark.  Please manually verify your "
                               "GPS Version is the most recent by going to the \"Diagnostics\" "
                               "menu on the Yardmark.  Under the \"Diagnostics\" menu, select "
                               "\"GPS Data\" and press the \"Ver\" button.  If you do not see the "
                               "most recent GPS version in the string that is shown, please "
                               "rerun this program."),
                    "wait 2000", "end 2", "device", "cancel enabled"}));
  EXPECT_EQ(rig.verifyView.row(4), "WORKING") << "the FAIL is set but never shown";
  EXPECT_EQ(rig.device->state(), sim::DeviceState::Off);
  const Events log = rig.logOf("Step5Verify.cpp");
  EXPECT_EQ(Events(log.end() - 2, log.end()),
            (Events{"Error:     GPS Version is NOT Correct $PASHR,VER,GPS,1.0.00  (E:24)",
                    "Info:      Displaying Error Message"}));
}

TEST(ResetAndVerify, ADeviceThatDoesNotAnswerEndsWithE21AndIsStillSwitchedOff) {
  Verified rig;
  rig.device->powerOff();
  EXPECT_EQ(rig.runVerify(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{kM3, "wait 2000", "device", "cancel enabled", "end 2"}));
  EXPECT_EQ(rig.verifyView.row(1), "FAIL");
  EXPECT_EQ(rig.verifyView.statusLine(), "...Command Mode NOT Set...");
  const Events log = rig.logOf("Step5Verify.cpp");
  EXPECT_TRUE(log[log.size() - 2].starts_with("Error:      Command Mode NOT Set : KV7"));
  EXPECT_TRUE(log[log.size() - 2].ends_with("  (E:21)"));
}

TEST(ResetAndVerify, ARefusedResetEndsWithE22) {
  Verified rig({"reset-refused"});
  EXPECT_EQ(rig.runVerify(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{notice(22, kManualResetNotice), "wait 2000", "device",
                                      "cancel enabled", "end 2"}));
  EXPECT_EQ(rig.verifyView.row(2), "FAIL");
  EXPECT_EQ(rig.verifyView.statusLine(), "...GPS NOT Reset...");
}

TEST(ResetAndVerify, AnUnreadableVersionEndsWithE23) {
  Verified rig({"no-echo=KV7-G"});
  EXPECT_EQ(rig.runVerify(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{notice(23, kManualResetNotice), "row 3 FAIL",
                                      "status ...GPS Version NOT Received...", "repaint",
                                      "wait 2000", "device", "cancel enabled", "end 2"}));
  const Events log = rig.logOf("Step5Verify.cpp");
  EXPECT_TRUE(log[log.size() - 2].starts_with("Error:      GPS Version NOT Read : KV7"));
}

TEST(ResetAndVerify, AFailedSwitchOffStillEndsOkAndIsTriedAgain) {
  Verified rig({"no-echo=KV7-9"});
  EXPECT_EQ(rig.runVerify(), modal::kOk);
  EXPECT_EQ(rig.verifyView.row(5), "FAIL");
  EXPECT_EQ(rig.verifyView.statusLine(), "Firmware Update Successful!");
  EXPECT_EQ(
      rig.events.from("status Firmware Update Successful!"),
      (Events{"status Firmware Update Successful!", "repaint", "wait 2000", "end 1", "ok enabled",
              rig.events.events[rig.events.events.size() - 2], "cancel enabled"}));
  EXPECT_TRUE(rig.events.events[rig.events.events.size() - 2].starts_with("device wait"))
      << "the second switch-off";
  const Events log = rig.logOf("Step5Verify.cpp");
  EXPECT_EQ(Events(log.end() - 3, log.end()),
            (Events{"Info:      KV7 Shutdown Failed", "Info:      Firmware Update Successful",
                    "Info:      Displaying Error Message"}));
}

TEST(ResetAndVerify, TheLinksLongWaitsKeepTheWindowAlive) {
  Verified rig;
  rig.link.ClosePort();
  // The production wiring: the link waits on the same pumping clock as the page.
  PumpingClock shared(rig.time);
  DeviceLink pumped(shared);
  pumped.setCandidatePorts({rig.device->slavePath()});
  ASSERT_EQ(pumped.FindDevice(), KV7SUCCESS);
  ResetAndVerifyPage page(pumped, shared, rig.inputs);
  int pumpsDuringReset = 0;
  rig.verifyView.onPump = [&] {
    if (rig.verifyView.statusLine() == "...Resetting the GPS...")
      ++pumpsDuringReset;
  };
  page.run(rig.verifyView);
  ASSERT_TRUE(rig.events.contains("status ...GPS Reset...")) << "the reset must have run";
  // The page's own second before the reset, and the link's 20 s after it.
  const auto slices = (1000 + 20000) / PumpingClock::kSlice.count();
  EXPECT_GE(pumpsDuringReset, slices);
}

TEST(ResetAndVerify, AtTheDefaultLevelASuccessfulRunWritesNothing) {
  DeviceRig rig;
  updateLog().setLevel(1);
  ASSERT_EQ(rig.runUpdate(), modal::kOk);
  rig.powerCycle();
  ASSERT_EQ(rig.runVerify(), modal::kOk);
  EXPECT_TRUE(rig.capture.lines().empty());
}

TEST(ResetAndVerify, AtTheDefaultLevelAFailureWritesItsErrorLineOnly) {
  sim::YardmarkOptions options;
  DeviceRig rig(options);
  ASSERT_EQ(rig.link.FindDevice(), KV7SUCCESS);
  updateLog().setLevel(1);
  EXPECT_EQ(rig.runVerify(), modal::kCancel);
  const auto lines = rig.capture.lines();
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0].fields, 3);
  EXPECT_EQ(lines[0].kind, "Error");
  EXPECT_EQ(lines[0].message, "    GPS Version is NOT Correct $PASHR,VER,GPS,1.0.00  (E:24)");
}

} // namespace
} // namespace quillon::testing
