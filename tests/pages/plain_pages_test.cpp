#include "dialogs/dialog_template.h"
#include "log/update_log.h"
#include "log_capture.h"
#include "pages/intro_page.h"
#include "pages/modal_result.h"
#include "pages/notice_texts.h"
#include "pages/screen_check_page.h"
#include "recording_views.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

using Events = std::vector<std::string>;

class ScreenCheck : public ::testing::Test {
protected:
  void SetUp() override { capture.open(3); }

  // Shows the page once and feeds it the inputs until it ends.
  void showAndPress(PlainPage& page, std::initializer_list<PageInput> inputs) {
    page.onShow();
    for (const PageInput input : inputs)
      if (!window.ended())
        page.onInput(input, window);
  }

  LogCapture capture;
  EventLog events;
  RecordingPageWindow window{events};
};

TEST_F(ScreenCheck, Step5TwoRemindersThenYesGoesOn) {
  ScreenCheckPage page{kConnectionCheck};
  showAndPress(page, {PageInput::Cancel, PageInput::Cancel, PageInput::Forward});
  const std::string reminder =
      "notice NOTICE | Please double check your connections and press OK when ready!";
  EXPECT_EQ(events.events, (Events{reminder, reminder, "end 1"}));
  EXPECT_EQ(capture.kindsAndMessages(), (Events{"Info:      User has verified a screen MISMATCH",
                                                "Info:      User has verified a screen MISMATCH",
                                                "Info:      User has verified the screen match"}));
}

TEST_F(ScreenCheck, Step5ThirdNoEndsWithE20) {
  ScreenCheckPage page{kConnectionCheck};
  showAndPress(page, {PageInput::Cancel, PageInput::Cancel, PageInput::Cancel});
  ASSERT_EQ(events.events.size(), 4U);
  EXPECT_EQ(events.events[2],
            "notice NOTICE E:20 | There is a connection error.  Please check your connections "
            "and try running this program again.");
  EXPECT_EQ(events.events[3], "end 2");
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 3U);
  EXPECT_EQ(lines[2].kind, "Error");
  EXPECT_EQ(lines[2].message, "     User has verified a final screen MISMATCH  (E:20)");
  for (const auto& line : lines)
    EXPECT_EQ(line.module, "Step5VerifyConnection.cpp");
}

TEST_F(ScreenCheck, Step9HasItsOwnTextsAndModule) {
  ScreenCheckPage page{kRestartCheck};
  showAndPress(page, {PageInput::Escape, PageInput::Escape, PageInput::Escape});
  EXPECT_EQ(events.events,
            (Events{"notice NOTICE | Please double check your connections!",
                    "notice NOTICE | Please double check your connections!",
                    "notice NOTICE E:20 | " + std::string(kManualResetNotice), "end 2"}));
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 3U);
  for (const auto& line : lines)
    EXPECT_EQ(line.module, "Step9VerifyKV7.cpp");
}

TEST_F(ScreenCheck, Step9YesLogsItsOwnWording) {
  ScreenCheckPage page{kRestartCheck};
  showAndPress(page, {PageInput::Enter});
  EXPECT_EQ(events.events, (Events{"end 1"}));
  EXPECT_EQ(capture.kindsAndMessages(), (Events{"Info:      User has verified a screen match"}));
}

TEST_F(ScreenCheck, EveryShowingStartsWithTwoRemindersAgain) {
  ScreenCheckPage page{kConnectionCheck};
  showAndPress(page, {PageInput::Cancel, PageInput::Cancel, PageInput::Forward});
  EXPECT_EQ(page.mismatchCount, 2);
  RecordingPageWindow second(events);
  page.onShow();
  EXPECT_EQ(page.mismatchCount, 0);
  page.onInput(PageInput::Cancel, second);
  page.onInput(PageInput::Cancel, second);
  EXPECT_FALSE(second.ended()) << "two NO answers on a new showing must only remind";
  page.onInput(PageInput::Cancel, second);
  EXPECT_EQ(second.result(), modal::kCancel);
}

TEST_F(ScreenCheck, AtErrorsOnlyLevelOnlyTheFinalMismatchIsWritten) {
  updateLog().setLevel(1);
  ScreenCheckPage page{kConnectionCheck};
  showAndPress(page, {PageInput::Cancel, PageInput::Cancel, PageInput::Cancel});
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0].fields, 3);
  EXPECT_EQ(lines[0].kind, "Error");
  EXPECT_EQ(lines[0].message, "     User has verified a final screen MISMATCH  (E:20)");
}

// Parameter: the page's template.
class InstructionPage : public ::testing::TestWithParam<int> {
protected:
  EventLog events;
};

TEST_P(InstructionPage, ForwardEndsWithOkAndEnterToo) {
  PlainPage page(0, GetParam());
  for (const PageInput input : {PageInput::Forward, PageInput::Enter}) {
    RecordingPageWindow window(events);
    page.onShow();
    page.onInput(input, window);
    EXPECT_EQ(window.result(), modal::kOk);
  }
}

TEST_P(InstructionPage, CancelAndEscapeEndWithCancelAndClearPrevious) {
  PlainPage page(0, GetParam());
  for (const PageInput input : {PageInput::Cancel, PageInput::Escape}) {
    page.previousPressed = true;
    RecordingPageWindow window(events);
    page.onInput(input, window);
    EXPECT_EQ(window.result(), modal::kCancel);
    // Pages without the button never touch the flag.
    EXPECT_EQ(page.previousPressed, !page.hasPrevious());
  }
}

TEST_P(InstructionPage, PreviousOnlyWhereTheButtonIs) {
  PlainPage page(0, GetParam());
  RecordingPageWindow window(events);
  page.onInput(PageInput::Previous, window);
  if (page.hasPrevious()) {
    EXPECT_EQ(window.result(), modal::kCancel);
    EXPECT_TRUE(page.wasPreviousPressed());
  } else {
    EXPECT_FALSE(window.ended());
    EXPECT_FALSE(page.wasPreviousPressed());
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, InstructionPage,
                         ::testing::Values(tpl::kConnectComputer, tpl::kConnectDevice, tpl::kTurnOn,
                                           tpl::kTurnOff, tpl::kTurnOnAgain, tpl::kFinish));

class DescriptiveLogging : public ::testing::Test {
protected:
  void SetUp() override { capture.open(1); }
  LogCapture capture;
  EventLog events;
  RecordingPageWindow window{events};
};

TEST_F(DescriptiveLogging, F9OnStep1RaisesTheLevelAndSaysSo) {
  IntroPage page;
  page.onShow();
  page.onKeyDown(kVirtualKeyF9, window);
  EXPECT_EQ(updateLog().level(), 3);
  EXPECT_FALSE(window.ended()) << "the key is passed on, the page stays";
  EXPECT_EQ(events.events, (Events{"notice NOTICE | Descriptive Logging has been turned ON."}));
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0].fields, 4);
  EXPECT_EQ(lines[0].kind, "Info");
  EXPECT_EQ(lines[0].module, "Step1Intro.cpp");
  EXPECT_GT(lines[0].sourceLine, 0);
  EXPECT_EQ(lines[0].message, "    Discriptive Logging has been Turned ON.");
}

TEST_F(DescriptiveLogging, EveryPressRepeatsItAndOtherKeysDoNothing) {
  IntroPage page;
  page.onKeyDown(kVirtualKeyF9 + 1, window);
  page.onKeyDown('A', window);
  EXPECT_EQ(updateLog().level(), 1);
  page.onKeyDown(kVirtualKeyF9, window);
  page.onKeyDown(kVirtualKeyF9, window);
  EXPECT_EQ(events.events.size(), 2U);
  EXPECT_EQ(capture.lines().size(), 2U);
}

TEST_F(DescriptiveLogging, F9ElsewhereIsJustAKey) {
  PlainPage page(2, tpl::kConnectComputer);
  ScreenCheckPage check{kConnectionCheck};
  page.onKeyDown(kVirtualKeyF9, window);
  check.onKeyDown(kVirtualKeyF9, window);
  EXPECT_EQ(updateLog().level(), 1);
  EXPECT_TRUE(events.events.empty());
}

TEST_F(DescriptiveLogging, YesAndNoOnStep1AreForwardAndCancel) {
  IntroPage page;
  page.onInput(PageInput::Forward, window);
  EXPECT_EQ(window.result(), modal::kOk);
  RecordingPageWindow second(events);
  page.onInput(PageInput::Cancel, second);
  EXPECT_EQ(second.result(), modal::kCancel);
}

} // namespace
} // namespace quillon::testing
