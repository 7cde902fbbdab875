// The four waits that give up and send again, on the whole-second clock; and the waits that
// never give up.

#include "tests/loader/loader_rig.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillon::test {
namespace {

using U = Uploader;

const std::vector<std::string> kEraseAgain = {"PR", "B 6a"};
const std::vector<std::string> kEraseFrame = {"PT", "F 5b 00 04 2d 00 00 00 ff ff ff ff 2d 00 5d",
                                              "PR"};
const std::vector<std::string> kRecordFrame = {"PT", "F 5b 00 04 2d 00 00 00 01 02 03 04 2f 06 5d",
                                               "PR"};
const std::vector<std::string> kEndFrame = {"PT", "F 5b 00 00 00 00 5d", "PR"};

class Timeouts : public ::testing::Test {
protected:
  // The wait starts 999 ms into a second, as late as a whole-second clock allows.
  void reachAt(int state) {
    rig.clock.advanceMs(999);
    rig.reach(state);
  }
  // Sets the clock to `ms` since the test began and reads `reply` once.
  bool replyAt(std::int64_t ms, int reply) {
    rig.clock.advanceMs(ms - rig.clock.nowMs());
    rig.forget();
    return rig.answer({reply});
  }

  LoaderRig rig{WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}})};
};

TEST_F(Timeouts, EraseCommandSendsAgainAfterTwoWholeSeconds) {
  reachAt(U::EraseCmd);
  EXPECT_FALSE(replyAt(1999, -3));
  EXPECT_TRUE(rig.link.events.empty());
  EXPECT_TRUE(replyAt(2000, -3));
  EXPECT_EQ(rig.link.events, kEraseAgain);
  EXPECT_EQ(rig.traces, std::vector<std::string>{"ERASE CMD - timeout"});
  // The timer restarted at second 2: garbage counts like silence.
  EXPECT_FALSE(replyAt(3999, 0x77));
  EXPECT_TRUE(replyAt(4000, 0x77));
  EXPECT_EQ(rig.link.events, kEraseAgain);
  EXPECT_EQ(rig.loader->state(), U::EraseCmd);
}

TEST_F(Timeouts, EraseFrameSendsAgainAfterThreeWholeSeconds) {
  reachAt(U::EraseAdr);
  EXPECT_FALSE(replyAt(2999, -3));
  EXPECT_TRUE(rig.link.events.empty());
  EXPECT_TRUE(replyAt(3000, -3));
  EXPECT_EQ(rig.link.events, kEraseFrame);
  EXPECT_EQ(rig.traces, std::vector<std::string>{"ERASE ADR - timeout"});
  // Garbage is not silence here.
  EXPECT_FALSE(replyAt(9000, 0x77));
  EXPECT_TRUE(rig.link.events.empty());
}

TEST_F(Timeouts, RecordFrameSendsAgainEveryFiveWholeSecondsWithoutLimit) {
  reachAt(U::WaitRec);
  for (int round = 1; round <= 20; ++round) {
    const std::int64_t sent = 5000 * (round - 1);
    EXPECT_FALSE(replyAt(sent + 4999, -3));
    EXPECT_TRUE(rig.link.events.empty()) << "round " << round;
    EXPECT_FALSE(replyAt(sent + 5000, -3));
    EXPECT_EQ(rig.link.events, kRecordFrame) << "round " << round;
  }
  EXPECT_EQ(rig.traces.back(),
            "WAIT REC - timeout resend 14 bytes: 5b 00 04 2d 00 00 00 01 02 03 04 2f 06 5d");
  EXPECT_EQ(rig.loader->state(), U::WaitRec);
}

TEST_F(Timeouts, EndFrameSendsAgainOnceThenAllDone) {
  reachAt(U::FileDone);
  // The end wait runs from the moment the image ran out, not from Finish.
  rig.clock.advanceMs(2000);
  rig.loader->Finish();
  EXPECT_TRUE(replyAt(3000, -3));
  EXPECT_EQ(rig.link.events, kEndFrame);
  EXPECT_EQ(rig.traces, std::vector<std::string>{"SEND END - timeout, resend"});
  EXPECT_EQ(rig.loader->state(), U::AllDone);
}

TEST_F(Timeouts, HandErasingProgAndWaitColdNeverGiveUp) {
  for (int state : {U::Hand, U::Erasing, U::Prog}) {
    LoaderRig fresh(WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}}));
    fresh.reach(state);
    fresh.forget();
    fresh.clock.advanceMs(3'600'000);
    for (int i = 0; i < 100; ++i)
      EXPECT_FALSE(fresh.loader->Step());
    EXPECT_EQ(fresh.loader->state(), state);
    EXPECT_TRUE(fresh.link.events.empty()) << "state " << state;
  }
  reachAt(U::WaitRec);
  rig.answer({0x87});
  rig.forget();
  rig.clock.advanceMs(3'600'000);
  EXPECT_FALSE(rig.loader->Step());
  EXPECT_EQ(rig.loader->state(), U::WaitCold);
  EXPECT_TRUE(rig.link.events.empty());
}

TEST_F(Timeouts, NoConnectPurgesTheInputEveryFifteenReadsWithoutHello) {
  rig.reach(U::NoConnect);
  rig.forget();
  std::vector<int> purgedAt;
  for (int read = 1; read <= 50; ++read) {
    const std::size_t before = rig.link.events.size();
    EXPECT_FALSE(rig.answer({read % 2 ? -3 : 0x12}));
    if (rig.link.events.size() != before)
      purgedAt.push_back(read);
  }
  EXPECT_EQ(purgedAt, (std::vector<int>{15, 30, 45}));
  EXPECT_EQ(rig.link.events, (std::vector<std::string>{"PR", "PR", "PR"}));
  EXPECT_EQ(rig.traces.at(0), "NO CONNECT - other fffffffd");
  EXPECT_EQ(rig.traces.at(1), "NO CONNECT - other 12");
}

} // namespace
} // namespace quillon::test
