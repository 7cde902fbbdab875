#include "pages/failure_notice.h"
#include "pages/modal_result.h"
#include "pages/progress_frame.h"
#include "pages/pumping_clock.h"
#include "recording_views.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

using Events = std::vector<std::string>;

class Frame : public ::testing::Test {
protected:
  EventLog events;
  RecordingProgressView view{events};
  ProgressFrame frame{view, 3};
};

TEST_F(Frame, BeginShowsDashesAnEmptyStatusAndNoProgress) {
  frame.begin();
  EXPECT_EQ(events.events, (Events{"present", "progress 0", "row 1 -", "row 2 -", "row 3 -",
                                   "status ", "ok disabled", "cancel disabled"}));
  EXPECT_EQ(view.statusLine(), "");
}

TEST_F(Frame, ARowReachesTheWindowOnlyWithTheNextStatus) {
  frame.begin();
  events.events.clear();
  frame.setRow(2, ProgressFrame::kWorking);
  EXPECT_EQ(view.row(2), "-");
  EXPECT_TRUE(events.events.empty());
  frame.setStatus("...Searching...");
  EXPECT_EQ(events.events, (Events{"row 2 WORKING", "status ...Searching...", "repaint"}));
}

TEST_F(Frame, ARowSetJustBeforeTheEndIsNeverShown) {
  frame.begin();
  frame.setRow(1, ProgressFrame::kFail);
  frame.endWith(modal::kCancel);
  EXPECT_EQ(view.row(1), "-");
}

TEST_F(Frame, TheFirstEndRequestFixesTheResult) {
  frame.endWith(modal::kOk);
  frame.endWith(modal::kCancel);
  EXPECT_EQ(frame.result(), modal::kOk);
  EXPECT_EQ(events.events, (Events{"end 1"}));
}

TEST_F(Frame, ProgressGoesStraightToTheWindow) {
  frame.setProgress(42);
  EXPECT_EQ(view.progress(), 42);
  EXPECT_EQ(events.events, (Events{"progress 42"}));
}

TEST_F(Frame, RowsOutsideThePageAreIgnored) {
  frame.begin();
  frame.setRow(0, "X");
  frame.setRow(4, "X");
  frame.setStatus("s");
  for (int row = 1; row <= 3; ++row)
    EXPECT_EQ(view.row(row), "-");
}

TEST_F(Frame, FailuresShowRowStatusAndNoticeInTheirOwnOrder) {
  frame.begin();
  events.events.clear();
  presentFailure(frame, {"NOTICE E:9", "text", 2, "...bad...", kNoticeRowShow});
  EXPECT_EQ(events.events,
            (Events{"notice NOTICE E:9 | text", "row 2 FAIL", "status ...bad...", "repaint"}));
  events.events.clear();
  presentFailure(frame, {"NOTICE E:8", "t", 3, "...worse...", kRowShowNotice});
  EXPECT_EQ(events.events,
            (Events{"row 3 FAIL", "status ...worse...", "repaint", "notice NOTICE E:8 | t"}));
  events.events.clear();
  presentFailure(frame, {"NOTICE E:7", "t", 1, "", kRowNotice});
  EXPECT_EQ(events.events, (Events{"notice NOTICE E:7 | t"})) << "the row stays unseen";
}

TEST(FailureLogText, PutsTheDetailBetweenItsTwoParts) {
  const StepFailure failure{{}, true, "     KV7 Not Found : ", "  (E:4)"};
  EXPECT_EQ(failureLogText(failure, "KV7NORESPONSE: KV7 did not respond"),
            "     KV7 Not Found : KV7NORESPONSE: KV7 did not respond  (E:4)");
}

TEST(Pumping, LongWaitsAreSlicedAndPumpAfterEachSlice) {
  VirtualClock virtualClock;
  PumpingClock clock(virtualClock);
  int pumps = 0;
  {
    const PumpingClock::Scope scope(clock, [&pumps] { ++pumps; });
    clock.sleepMs(20000);
    EXPECT_EQ(pumps, 20000 / PumpingClock::kSlice.count());
    clock.sleepMs(70);
    EXPECT_EQ(pumps, 20000 / PumpingClock::kSlice.count() + 2);
  }
  EXPECT_EQ(virtualClock.nowMs(), 20070);
  clock.sleepMs(1000);
  clock.pump();
  EXPECT_EQ(pumps, 20000 / PumpingClock::kSlice.count() + 2) << "no pump once the scope has ended";
  EXPECT_EQ(virtualClock.nowMs(), 21070);
}

TEST(Pumping, ScopesNestAndPutThePreviousPumpBack) {
  VirtualClock virtualClock;
  PumpingClock clock(virtualClock);
  std::string calls;
  const PumpingClock::Scope outer(clock, [&calls] { calls += 'o'; });
  {
    const PumpingClock::Scope inner(clock, [&calls] { calls += 'i'; });
    clock.pump();
  }
  clock.pump();
  EXPECT_EQ(calls, "io");
}

TEST(Pumping, WholeSecondsComeFromTheInnerClock) {
  VirtualClock virtualClock;
  PumpingClock clock(virtualClock);
  virtualClock.advanceMs(61500);
  EXPECT_EQ(clock.wholeSeconds(), 61);
}

} // namespace
} // namespace quillon::testing
