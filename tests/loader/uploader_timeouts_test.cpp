// Every wait on the boot loader ends, on the whole-second clock: it sends again, or goes on
// where the lost answer would have taken it.

#include "tests/loader/loader_rig.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillon::test {
namespace {

using U = Uploader;

const std::vector<std::string> kEraseAgain = {"PR", "B 6a"};
const std::vector<std::string> kEraseFrame = {"PT", "PR",
                                              "F 5b 00 04 2d 00 00 00 ff ff ff ff 2d 00 5d"};
const std::vector<std::string> kRecordFrame = {"PT", "PR",
                                               "F 5b 00 04 2d 00 00 00 01 02 03 04 2f 06 5d"};
const std::string kRecordDump = "14 bytes: 5b 00 04 2d 00 00 00 01 02 03 04 2f 06 5d";
const std::vector<std::string> kEndFrame = {"PT", "PR", "F 5b 00 00 00 00 5d"};

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

TEST_F(Timeouts, EndFrameSendsAgainUntilTheBootLoaderTakesIt) {
  reachAt(U::FileDone);
  // The end wait runs from the moment the image ran out, not from Finish.
  rig.clock.advanceMs(2000);
  rig.loader->Finish();
  for (const std::int64_t resentAt : {3000, 6000, 9000}) {
    EXPECT_FALSE(replyAt(resentAt - 1, -3));
    EXPECT_TRUE(rig.link.events.empty());
    EXPECT_TRUE(replyAt(resentAt, -3));
    EXPECT_EQ(rig.link.events, kEndFrame);
    EXPECT_EQ(rig.loader->state(), U::SendEnd);
  }
  EXPECT_EQ(rig.traces.back(), "SEND END - timeout, resend");
  EXPECT_EQ(rig.loader->endFramesSent(), 4u);
  EXPECT_TRUE(replyAt(9500, 0x55));
  EXPECT_EQ(rig.loader->state(), U::AllDone);
}

TEST_F(Timeouts, HandshakeAsksForTheEraseAfterTwoWholeSecondsFromTheLastHelloAnswer) {
  reachAt(U::Hand);
  EXPECT_FALSE(replyAt(1500, 0xAA)); // answered: the wait starts again at second 1
  EXPECT_FALSE(replyAt(2999, -3));
  EXPECT_FALSE(replyAt(2999, 0x12));
  EXPECT_EQ(rig.link.events, std::vector<std::string>{});
  EXPECT_TRUE(replyAt(3000, -3));
  EXPECT_EQ(rig.link.events, kEraseAgain);
  EXPECT_EQ(rig.traces, std::vector<std::string>{"HAND - timeout"});
  EXPECT_EQ(rig.loader->state(), U::EraseCmd);
}

TEST_F(Timeouts, ErasingAndWaitColdGoOnToTheRecordsAfterTwentyOneSilentWholeSeconds) {
  reachAt(U::Erasing);
  EXPECT_FALSE(replyAt(15000, 0x8F)); // a sector erased: the wait starts again at second 15
  EXPECT_FALSE(replyAt(35999, -3));
  EXPECT_TRUE(replyAt(36000, -3));
  EXPECT_EQ(rig.loader->state(), U::SendRec);
  EXPECT_EQ(rig.traces, std::vector<std::string>{"ERASING - timeout"});

  rig.reach(U::WaitRec);
  rig.answer({0x87}); // the boot loader restarts at second 36
  EXPECT_FALSE(replyAt(56999, 0x12));
  EXPECT_TRUE(replyAt(57000, -3));
  EXPECT_EQ(rig.loader->state(), U::SendRec);
  EXPECT_EQ(rig.traces, std::vector<std::string>{"WAIT COLD - timeout"});
  EXPECT_TRUE(rig.link.events.empty());
}

TEST_F(Timeouts, ProgSendsTheRecordAgainAfterTwentyOneWholeSeconds) {
  reachAt(U::Prog);
  EXPECT_FALSE(replyAt(20999, -3));
  EXPECT_TRUE(rig.link.events.empty());
  EXPECT_FALSE(replyAt(21000, 0x12));
  EXPECT_EQ(rig.link.events, kRecordFrame);
  EXPECT_EQ(rig.traces.back(), "PROG - timeout resend " + kRecordDump);
  EXPECT_EQ(rig.loader->state(), U::WaitRec);

  // Without an address in the frame a second copy would be programmed after the first.
  LoaderRig unaddressed(WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}}), kFlashEnd,
                        LoadAddressing::Unaddressed);
  unaddressed.reach(U::Prog);
  unaddressed.forget();
  unaddressed.clock.advanceMs(21000);
  EXPECT_FALSE(unaddressed.answer({-3}));
  EXPECT_EQ(unaddressed.loader->state(), U::Fail);
  EXPECT_TRUE(unaddressed.link.events.empty());
  EXPECT_EQ(unaddressed.traces, std::vector<std::string>{"PROG - timeout"});
}

TEST_F(Timeouts, ARecordSentAgainOnATimeOutWaitsOutTheAnswersToItsOtherCopy) {
  reachAt(U::WaitRec);
  EXPECT_FALSE(replyAt(5000, -3)); // the first copy's answer is late: a second copy goes
  EXPECT_TRUE(replyAt(5100, 0x55));
  EXPECT_FALSE(replyAt(5200, 0x77)); // one copy programmed
  EXPECT_EQ(rig.loader->state(), U::Settle);
  // The other copy is taken at second 6 and its programming takes its time: nothing goes out
  // until it is done and the line has been quiet for a frame's answer time.
  const auto at = [this](std::int64_t ms, int reply) {
    rig.clock.advanceMs(ms - rig.clock.nowMs());
    return rig.answer({reply});
  };
  rig.forget();
  EXPECT_FALSE(at(6000, 0x55));
  EXPECT_FALSE(at(26999, -3));
  EXPECT_FALSE(at(26999, 0x77));
  EXPECT_FALSE(at(30999, -3));
  EXPECT_EQ(rig.loader->state(), U::Settle);
  EXPECT_TRUE(at(31000, -3));
  EXPECT_EQ(rig.loader->state(), U::SendRec);
  EXPECT_EQ(rig.loader->bytesSent(), 4u);
  EXPECT_EQ(rig.traces, (std::vector<std::string>{"SETTLE - answer to the other copy 0055",
                                                  "SETTLE - answer to the other copy 0077",
                                                  "SETTLE - quiet"}));
  EXPECT_TRUE(rig.link.events.empty());
}

TEST_F(Timeouts, ADebugWordCutShortEndsWithTheWaitItInterrupted) {
  struct Cut {
    std::vector<int> bytes;
    std::int64_t waitEndsAt;
    int waiting;
    const char* trace;
    int interrupted;
  };
  // In PROG (20 s), then in WAIT REC (the record's own 4 s), after the first and the second
  // byte of the word; the interrupted wait is over then too, and the record goes again.
  reachAt(U::Prog);
  for (const Cut& cut : {Cut{{0x8E}, 21000, U::Debug1, "DEBUG 1 - timeout", U::Prog},
                         Cut{{0x8E, 0x2D}, 26000, U::Debug2, "DEBUG 2 - timeout", U::WaitRec}}) {
    for (const int byte : cut.bytes)
      rig.answer({byte});
    EXPECT_FALSE(replyAt(cut.waitEndsAt - 1, -3));
    EXPECT_EQ(rig.loader->state(), cut.waiting);
    EXPECT_TRUE(replyAt(cut.waitEndsAt, -3));
    EXPECT_EQ(rig.loader->state(), cut.interrupted);
    EXPECT_EQ(rig.traces, std::vector<std::string>{cut.trace});
    EXPECT_FALSE(replyAt(cut.waitEndsAt, -3));
    EXPECT_EQ(rig.link.events, kRecordFrame);
  }
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
