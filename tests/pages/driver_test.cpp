#include "link/device_link.h"
#include "log_capture.h"
#include "pages/firmware_load_page.h"
#include "pages/modal_result.h"
#include "pages/reset_and_verify_page.h"
#include "pages/wizard_driver.h"
#include "recording_views.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

using Events = std::vector<std::string>;
constexpr int kOk = modal::kOk;
constexpr int kCancel = modal::kCancel;
constexpr const char* kGoodOrbfix =
    "Release 4\r\n1.2\r\nfirmware.mot\r\n$PASHR,VER,GPS,2.0.00\r\n30\r\n";

const std::string kE2 =
    "dialog notice NOTICE E:2 | A file necessary to run this program is missing (Orbfix.dat). "
    "Please make sure you have downloaded and installed the latest GPS Firmware Update package "
    "from the Tolvane website.";
const std::string kE1 = "dialog notice NOTICE E-1 | There is an update for this program.  "
                        "Please download the latest version from the Tolvane website.";
const std::string kE0 = "dialog notice NOTICE E:0 | Dialog box could not be created!";

class Driver : public ::testing::Test {
protected:
  void writeOrbfix(const std::string& content) { capture.writeFile("Orbfix.dat", content); }

  void answer(std::initializer_list<Answer> answers) {
    for (const auto& a : answers)
      runner.answers.push_back(a);
  }

  // Runs the wizard; every path must end the hidden main dialog once, with Cancel. Returns
  // how the run ended, as the program's exit status reports it.
  WizardOutcome run() {
    WizardDriver driver(
        dialog, runner, link, clock,
        {(capture.directory() / "Orbfix.dat").string(), capture.directory().string()});
    EXPECT_TRUE(driver.run());
    EXPECT_EQ(dialog.endCount, 1);
    EXPECT_EQ(dialog.lastResult, kCancel);
    EXPECT_TRUE(runner.answers.empty()) << runner.answers.size() << " answers left unused";
    return driver.outcome();
  }

  // The driver's own lines, "Kind: message" (Descriptive Logging on: every line names its
  // module).
  Events driverLines() const {
    Events out;
    for (const auto& line : capture.lines()) {
      EXPECT_EQ(line.fields, 4);
      if (line.module == "QuillonDlg.cpp")
        out.push_back(line.kind + ": " + line.message);
    }
    return out;
  }

  static Answer f9ThenYes() { return press({PageInput::Forward}, {kVirtualKeyF9}); }
  static Answer next() { return press({PageInput::Forward}); }
  static Answer previous() { return press({PageInput::Previous}); }

  LogCapture capture;
  EventLog events;
  RecordingDialog dialog{events};
  ScriptedRunner runner{events};
  VirtualClock time;
  PumpingClock clock{time};
  DeviceLink link{clock};
};

TEST_F(Driver, MissingOrbfixEndsBeforeAnyPage) {
  EXPECT_EQ(run(), WizardOutcome::Failed);
  EXPECT_EQ(events.events, (Events{kE2, "dialog end 2"}));
  // The golfer was told, so the log must say why even at the default level.
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].kind, "Error");
  EXPECT_EQ(lines[0].message, "Orbfix.dat file NOT opened (E:2)");
}

TEST_F(Driver, ReleaseTagMustMatchExactly) {
  for (const char* tag : {"Release 4 \n", "release 4\n", "Release 3\n", " Release 4\n"}) {
    events.events.clear();
    dialog.endCount = 0;
    writeOrbfix(tag);
    EXPECT_EQ(run(), WizardOutcome::Failed);
    EXPECT_EQ(events.events, (Events{kE1, "dialog end 2"})) << "tag: " << tag;
    const auto lines = capture.lines();
    ASSERT_FALSE(lines.empty()) << "tag: " << tag;
    EXPECT_EQ(lines.back().kind, "Error");
    EXPECT_EQ(lines.back().message, "..Not Verified, update necessary");
  }
}

TEST_F(Driver, CrLfAndLfGiveTheSameInputs) {
  for (const char* content :
       {kGoodOrbfix, "Release 4\n1.2\nfirmware.mot\n$PASHR,VER,GPS,2.0.00\n30\nextra\n"}) {
    writeOrbfix(content);
    int inspected = 0;
    runner.inspect = [&inspected](ProgressPage& page) {
      if (auto* update = dynamic_cast<FirmwareLoadPage*>(&page)) {
        EXPECT_EQ(update->inputs().minAppVersion, "1.2");
        EXPECT_EQ(update->inputs().firmwarePath, "firmware.mot");
        EXPECT_EQ(update->inputs().targetGpsVersion, "$PASHR,VER,GPS,2.0.00");
        EXPECT_EQ(update->inputs().minBatteryLevel, "30");
      } else if (auto* verify = dynamic_cast<ResetAndVerifyPage*>(&page)) {
        EXPECT_EQ(verify->inputs().targetGpsVersion, "$PASHR,VER,GPS,2.0.00");
      }
      ++inspected;
    };
    answer({next(), next(), next(), next(), next(), result(kOk), next(), next(), next(),
            result(kOk), next()});
    dialog.endCount = 0;
    run();
    EXPECT_EQ(inspected, 2);
  }
}

TEST_F(Driver, ASuccessfulRunWritesNoDriverLineAtTheDefaultLevel) {
  writeOrbfix(kGoodOrbfix);
  answer({next(), next(), next(), next(), next(), result(kOk), next(), next(), next(), result(kOk),
          next()});
  EXPECT_EQ(run(), WizardOutcome::Verified);
  EXPECT_EQ(runner.shownSteps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_EQ(events.events.back(), "dialog end 2") << "the main dialog ends after the last page";
}

TEST_F(Driver, DescriptiveLoggingShowsEveryStepWithItsModule) {
  writeOrbfix(kGoodOrbfix);
  answer({f9ThenYes(), next(), next(), next(), next(), result(kOk), next(), next(), next(),
          result(kOk), next()});
  run();
  const Events expected{
      "Info: Step 1: successful",
      "Info: Step 2: Connect KV7 Cable to computer - initiated",
      "Info: Step 2: successful",
      "Info: Step 3: Connect KV7 Cable to KV7 - initiated",
      "Info: Step 3: successful",
      "Info: Step 4: Turn on the KV7 - initiated",
      "Info: Step 4: successful",
      "Info: Step 5: Verify the correct screen is showing - initiated",
      "Info:      User has verified the screen match",
      "Info: Step 5: successful",
      "Info: Step 6: Update the firmware if possible - initiated",
      "Info: Step 6: successful",
      "Info: Step 7: Turn off the KV7 - initiated",
      "Info: Step 7: successful",
      "Info: Step 8: Turn back on the KV7 - initiated",
      "Info: Step 8: successful",
      "Info: Step 9: Verify the correct screen is showing - initiated",
      "Info:      User has verified a screen match",
      "Info: Step 9: successful",
      "Info: Step 10: Verify update was successful and reset GPS - initiated",
      "Info: Step 10: successful",
      "Info: Step 11: Finished - initiated",
      "Info: Step 11: successful",
      "Info: Step 12: Exit - initiated",
  };
  Events lines;
  for (const auto& line : capture.lines()) {
    EXPECT_EQ(line.fields, 4);
    EXPECT_GT(line.sourceLine, 0);
    if (line.message.starts_with("Step ")) {
      EXPECT_EQ(line.module, "QuillonDlg.cpp");
    }
    if (line.module != "Step1Intro.cpp")
      lines.push_back(line.kind + ": " + line.message);
  }
  EXPECT_EQ(lines, expected);
}

TEST_F(Driver, PreviousGoesBackOnSteps2To4And8) {
  writeOrbfix(kGoodOrbfix);
  answer({f9ThenYes(), previous(), next(), next(), previous(), next(), next(), previous(), next(),
          next(), next(), result(kOk), next(), previous(), next(), next(), next(), result(kOk),
          next()});
  run();
  EXPECT_EQ(runner.shownSteps,
            (std::vector<int>{1, 2, 1, 2, 3, 2, 3, 4, 3, 4, 5, 6, 7, 8, 7, 8, 9, 10, 11}));
  const Events lines = driverLines();
  const Events back{"Info: Step 2: canceled", "Info: ...return to previous Step",
                    "Info: Step 1: Introduction - initiated"};
  EXPECT_NE(std::search(lines.begin(), lines.end(), back.begin(), back.end()), lines.end());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Info: ...return to previous Step"), 4);
}

TEST_F(Driver, CancelAndEscapeEndTheWizardEvenAfterAnEarlierPrevious) {
  writeOrbfix(kGoodOrbfix);
  answer({f9ThenYes(), previous(), next(), press({PageInput::Escape})});
  EXPECT_EQ(run(), WizardOutcome::Cancelled);
  EXPECT_EQ(runner.shownSteps, (std::vector<int>{1, 2, 1, 2}));
  const Events lines = driverLines();
  ASSERT_GE(lines.size(), 2U);
  EXPECT_EQ(lines[lines.size() - 2], "Info: Step 2: canceled");
  EXPECT_EQ(lines.back(), "Info: Step 12: Exit - initiated");
}

TEST_F(Driver, NoOnStep1EndsTheWizard) {
  writeOrbfix(kGoodOrbfix);
  answer({press({PageInput::Cancel}, {kVirtualKeyF9})});
  EXPECT_EQ(run(), WizardOutcome::Cancelled);
  EXPECT_EQ(driverLines(), (Events{"Info: Step 1: canceled", "Info: Step 12: Exit - initiated"}));
}

TEST_F(Driver, ADevicePageFailureIsACancelWithoutANoticeOfTheDriver) {
  writeOrbfix(kGoodOrbfix);
  answer({f9ThenYes(), next(), next(), next(), next(), result(kCancel)});
  EXPECT_EQ(run(), WizardOutcome::Failed);
  const Events lines = driverLines();
  EXPECT_EQ(lines.back(), "Info: Step 12: Exit - initiated");
  EXPECT_EQ(lines[lines.size() - 2], "Info: Step 6: canceled");
  for (const auto& event : events.events)
    EXPECT_FALSE(event.starts_with("dialog notice")) << event;
}

TEST_F(Driver, TheThirdNoOnAScreenCheckIsAFailureNotACancel) {
  writeOrbfix(kGoodOrbfix);
  const Answer threeNos = press({PageInput::Cancel, PageInput::Cancel, PageInput::Cancel});
  answer({next(), next(), next(), next(), threeNos});
  EXPECT_EQ(run(), WizardOutcome::Failed);
  answer({next(), next(), next(), next(), next(), result(kOk), next(), next(), threeNos});
  dialog.endCount = 0;
  EXPECT_EQ(run(), WizardOutcome::Failed) << "step 9";
  EXPECT_EQ(std::count_if(events.events.begin(), events.events.end(),
                          [](const std::string& e) { return e.starts_with("notice NOTICE E:20"); }),
            2);
}

TEST_F(Driver, AbortEndsTheWizardWithAnErrorLine) {
  writeOrbfix(kGoodOrbfix);
  answer({next(), next(), result(modal::kAbort)});
  EXPECT_EQ(run(), WizardOutcome::Failed);
  writeOrbfix(kGoodOrbfix);
  answer({next(), next(), next(), next(), next(), result(kOk), next(), result(modal::kAbort)});
  dialog.endCount = 0;
  run();
  EXPECT_EQ(capture.kindsAndMessages(),
            (Events{"Error: Step 3: aborted", "Error: Step 8 aborted"}));
}

TEST_F(Driver, UnknownResultsEndTheWizard) {
  writeOrbfix(kGoodOrbfix);
  answer({result(0)});
  EXPECT_EQ(run(), WizardOutcome::Failed);
  answer({next(), next(), next(), next(), next(), result(kOk), result(42)});
  dialog.endCount = 0;
  run();
  EXPECT_EQ(runner.shownSteps, (std::vector<int>{1, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(capture.kindsAndMessages(), (Events{"Error: Step 1: unknown return  (E:0)",
                                                "Error: Step 7: unknown return (E:0)"}));
}

TEST_F(Driver, APageThatCannotBeCreatedIsTriedAgain) {
  writeOrbfix(kGoodOrbfix);
  answer({result(-1), next(), result(-1), next(), result(-1), result(kCancel)});
  run();
  EXPECT_EQ(runner.shownSteps, (std::vector<int>{1, 1, 2, 2, 3, 3}));
  EXPECT_EQ(capture.kindsAndMessages(),
            (Events{"Error: Dialog box not created  (E:0)", "Error: Dialog box not created  (E:0)",
                    "Error: Dialog box not created (E:0)"}));
  EXPECT_EQ(std::count(events.events.begin(), events.events.end(), kE0), 3);
}

TEST_F(Driver, APageThatNeverAppearsEndsTheWizardAfterFiveRetries) {
  writeOrbfix(kGoodOrbfix);
  for (int i = 0; i <= WizardDriver::kCreationRetries; ++i)
    runner.answers.push_back(result(-1));
  EXPECT_EQ(run(), WizardOutcome::Failed);
  EXPECT_EQ(runner.shownSteps, std::vector<int>(WizardDriver::kCreationRetries + 1, 1));
  const Events lines = capture.kindsAndMessages();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(WizardDriver::kCreationRetries + 2));
  EXPECT_EQ(lines.back(), "Error: Step 1: gave up after 6 attempts to create the page  (E:0)");
}

TEST_F(Driver, TheRetryCountStartsAgainOnEachPage) {
  writeOrbfix(kGoodOrbfix);
  for (int step = 1; step <= 2; ++step) {
    for (int i = 0; i < WizardDriver::kCreationRetries; ++i)
      runner.answers.push_back(result(-1));
    runner.answers.push_back(next());
  }
  answer({result(kCancel)});
  run();
  EXPECT_EQ(runner.shownSteps.back(), 3);
}

TEST_F(Driver, FinishOrEscapeOnStep11EndsTheWizard) {
  writeOrbfix(kGoodOrbfix);
  answer({f9ThenYes(), next(), next(), next(), next(), result(kOk), next(), next(), next(),
          result(kOk), press({PageInput::Escape})});
  EXPECT_EQ(run(), WizardOutcome::Verified) << "the version was verified before step 11";
  const Events lines = driverLines();
  EXPECT_EQ(lines[lines.size() - 2], "Info: Step 11: canceled");
  EXPECT_EQ(lines.back(), "Info: Step 12: Exit - initiated");
}

} // namespace
} // namespace quillon::testing
