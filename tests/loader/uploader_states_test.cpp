// Every reply in every waiting state: next state, Step's value, what went out on the link and
// the trace line. The image is one chunk of 01 02 03 04 at 0x2D000000.

#include "tests/loader/loader_rig.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillon::test {
namespace {

using U = Uploader;

const std::string kErase = "F 5b 00 04 2d 00 00 00 ff ff ff ff 2d 00 5d";
const std::string kRecord = "F 5b 00 04 2d 00 00 00 01 02 03 04 2f 06 5d";
const std::string kRecordDump = "14 bytes: 5b 00 04 2d 00 00 00 01 02 03 04 2f 06 5d";
constexpr int kNothing = -3;

struct Row {
  const char* name;
  int from;             // reached with a healthy boot loader
  std::vector<int> via; // then these replies, one step each
  int reply;
  int to;
  bool returns;
  std::vector<std::string> events;
  std::vector<std::string> trace;
};

// One row a line, so the table reads as a table.
// clang-format off
const Row kRows[] = {
    {"NoConnect_hello", U::NoConnect, {}, 0xAA, U::Hand, true, {"PR", "B 55"}, {"NO CONNECT - hello"}},
    {"NoConnect_recWait", U::NoConnect, {}, 0x77, U::SendRec, true, {}, {"NO CONNECT - rec_wait"}},
    {"NoConnect_other", U::NoConnect, {}, 0x55, U::NoConnect, false, {}, {"NO CONNECT - other 55"}},
    {"NoConnect_nothing", U::NoConnect, {}, kNothing, U::NoConnect, false, {}, {"NO CONNECT - other fffffffd"}},
    {"Hand_ok", U::Hand, {}, 0x55, U::EraseCmd, true, {"PR", "B 6a"}, {"HAND - OK"}},
    {"Hand_hello", U::Hand, {}, 0xAA, U::Hand, false, {"B 55"}, {"HAND - hello"}},
    {"Hand_badType", U::Hand, {}, 0x86, U::BadType, false, {}, {"HAND - Bad type"}},
    {"Hand_nothing", U::Hand, {}, kNothing, U::Hand, false, {}, {}},
    {"Hand_other", U::Hand, {}, 0x84, U::Hand, false, {}, {"HAND - error 0084"}},
    {"EraseCmd_ok", U::EraseCmd, {}, 0x55, U::EraseAdr, true, {"PT", "PR", kErase}, {"ERASE CMD - Erasing 2d000000:ffffffff"}},
    {"EraseCmd_hello", U::EraseCmd, {}, 0xAA, U::Hand, true, {"B 55"}, {"ERASE CMD - hello"}},
    {"EraseCmd_badCommand", U::EraseCmd, {}, 0x83, U::NoConnect, false, {}, {"ERASE CMD - bad cmd"}},
    {"EraseCmd_otherEarly", U::EraseCmd, {}, 0x77, U::EraseCmd, false, {}, {}},
    {"EraseAdr_ok", U::EraseAdr, {}, 0x55, U::Erasing, true, {}, {"ERASE ADR - OK"}},
    {"EraseAdr_sectorErased", U::EraseAdr, {}, 0x8F, U::Erasing, false, {}, {"ERASING - sector erased"}},
    {"EraseAdr_badCommand", U::EraseAdr, {}, 0x83, U::NoConnect, false, {}, {"ERASE ADR - bad"}},
    {"EraseAdr_resend81", U::EraseAdr, {}, 0x81, U::EraseAdr, true, {"PT", "PR", kErase}, {"SENDING ERASE - Erasing 2d000000:ffffffff"}},
    {"EraseAdr_resend88", U::EraseAdr, {}, 0x88, U::EraseAdr, true, {"PT", "PR", kErase}, {"SENDING ERASE - Erasing 2d000000:ffffffff"}},
    {"EraseAdr_fail", U::EraseAdr, {}, 0x84, U::Fail, false, {}, {"ERASE ADR - fail"}},
    {"EraseAdr_nothingEarly", U::EraseAdr, {}, kNothing, U::EraseAdr, false, {}, {}},
    {"EraseAdr_hello", U::EraseAdr, {}, 0xAA, U::Hand, true, {"B 55"}, {"ERASE ADR - hello"}},
    {"EraseAdr_other", U::EraseAdr, {}, 0x77, U::EraseAdr, false, {}, {"ERASE ADR - error 0077"}},
    {"Erasing_ok", U::Erasing, {}, 0x55, U::SendRec, true, {}, {"ERASING - OK"}},
    {"Erasing_recWait", U::Erasing, {}, 0x77, U::SendRec, true, {}, {"ERASING - rec wait"}},
    {"Erasing_sectorErased", U::Erasing, {}, 0x8F, U::Erasing, false, {}, {"ERASING - sector erased"}},
    {"Erasing_nothing", U::Erasing, {}, kNothing, U::Erasing, false, {}, {}},
    {"Erasing_other", U::Erasing, {}, 0x84, U::Erasing, false, {}, {"ERASING - error 0084"}},
    {"Erasing_hello", U::Erasing, {}, 0xAA, U::Fail, false, {}, {"ERASING - hello"}},
    {"WaitRec_ok", U::WaitRec, {}, 0x55, U::Prog, true, {}, {"WAIT REC - OK"}},
    {"WaitRec_resend82", U::WaitRec, {}, 0x82, U::WaitRec, false, {"PT", "PR", kRecord}, {"WAIT REC - 0082 resend " + kRecordDump}},
    {"WaitRec_fail", U::WaitRec, {}, 0x84, U::Fail, false, {}, {"WAIT REC - fail"}},
    {"WaitRec_debug", U::WaitRec, {}, 0x8E, U::Debug1, false, {}, {"WAIT REC - debug"}},
    {"WaitRec_reset", U::WaitRec, {}, 0x87, U::WaitCold, true, {}, {"WAIT REC - reset"}},
    {"WaitRec_nothingEarly", U::WaitRec, {}, kNothing, U::WaitRec, false, {}, {}},
    {"WaitRec_hello", U::WaitRec, {}, 0xAA, U::Fail, false, {}, {"WAIT REC - hello"}},
    {"WaitRec_other", U::WaitRec, {}, 0x8F, U::WaitRec, false, {}, {"WAIT REC - error 008f"}},
    {"Prog_ok", U::Prog, {}, 0x55, U::SendRec, true, {}, {"PROG - OK"}},
    {"Prog_recWait", U::Prog, {}, 0x77, U::SendRec, true, {}, {"PROG - OK"}},
    {"Prog_resend85", U::Prog, {}, 0x85, U::WaitRec, false, {"PT", "PR", kRecord}, {"WAIT REC - 0085 resend " + kRecordDump}},
    {"Prog_fail", U::Prog, {}, 0x84, U::Fail, false, {}, {"PROG - fail"}},
    {"Prog_debug", U::Prog, {}, 0x8E, U::Debug1, false, {}, {"PROG - debug"}},
    {"Prog_nothing", U::Prog, {}, kNothing, U::Prog, false, {}, {}},
    {"Prog_hello", U::Prog, {}, 0xAA, U::Fail, false, {}, {"PROG - hello"}},
    {"Prog_other", U::Prog, {}, 0x8F, U::Prog, false, {}, {"PROG - error 008f"}},
    {"WaitCold_ok", U::WaitRec, {0x87}, 0x55, U::SendRec, true, {}, {"WAIT COLD - OK"}},
    {"WaitCold_recWait", U::WaitRec, {0x87}, 0x77, U::SendRec, true, {}, {"WAIT COLD - rec wait"}},
    {"WaitCold_nothing", U::WaitRec, {0x87}, kNothing, U::WaitCold, false, {}, {}},
    {"WaitCold_other", U::WaitRec, {0x87}, 0x8F, U::WaitCold, false, {}, {"WAIT COLD - error 008f"}},
    {"WaitCold_hello", U::WaitRec, {0x87}, 0xAA, U::Fail, false, {}, {"WAIT COLD - hello"}},
    {"Debug1_byte", U::Prog, {0x8E}, 0x2D, U::Debug2, true, {}, {"DEBUG 1 - 2d"}},
    {"Debug1_nothing", U::Prog, {0x8E}, kNothing, U::Debug1, false, {}, {}},
    {"Debug2_backToProg", U::Prog, {0x8E, 0x2D}, 0x07, U::Prog, true, {}, {"DEBUG 2 - 07"}},
    {"Debug2_backToWaitRec", U::WaitRec, {0x8E, 0x00}, 0x55, U::WaitRec, true, {}, {"DEBUG 2 - 55"}},
    {"Debug2_nothing", U::Prog, {0x8E, 0x2D}, kNothing, U::Debug2, false, {}, {}},
};
// clang-format on

class ReplyTable : public ::testing::TestWithParam<Row> {
protected:
  static void SetUpTestSuite() { imagePath_ = WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}}); }
  static std::string imagePath_;
};
std::string ReplyTable::imagePath_;

TEST_P(ReplyTable, MovesSendsAndTracesAsTabled) {
  const Row& row = GetParam();
  LoaderRig rig(imagePath_);
  rig.reach(row.from);
  for (int byte : row.via)
    rig.answer({byte});
  rig.forget();

  EXPECT_EQ(rig.answer({row.reply}), row.returns);
  EXPECT_EQ(rig.loader->state(), row.to);
  EXPECT_EQ(rig.link.events, row.events);
  EXPECT_EQ(rig.traces, row.trace);
}

INSTANTIATE_TEST_SUITE_P(Uploader, ReplyTable, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

// The states that do not read: each does its one thing without touching the line.
TEST(UploaderStates, StatesWithoutARead) {
  const std::string image = WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}});
  LoaderRig rig(image);
  EXPECT_EQ(rig.loader->state(), U::Reset);
  EXPECT_TRUE(rig.loader->Step());
  EXPECT_EQ(rig.loader->state(), U::NoConnect);
  EXPECT_EQ(rig.traces, std::vector<std::string>{"RESET"});
  EXPECT_EQ(rig.link.reads, 0);

  rig.reach(U::Prog);
  rig.answer({0x84});
  ASSERT_EQ(rig.loader->state(), U::Fail);
  rig.forget();
  EXPECT_FALSE(rig.loader->Step());
  EXPECT_EQ(rig.loader->state(), U::Reset);
  EXPECT_TRUE(rig.link.events.empty());
  EXPECT_TRUE(rig.traces.empty());

  rig.reach(U::FileDone);
  rig.forget();
  const int reads = rig.link.reads;
  EXPECT_FALSE(rig.loader->Step());
  EXPECT_FALSE(rig.loader->Step());
  EXPECT_EQ(rig.loader->state(), U::FileDone);
  EXPECT_EQ(rig.link.reads, reads);
  EXPECT_EQ(rig.traces, (std::vector<std::string>{"FILE DONE", "FILE DONE"}));
}

TEST(UploaderStates, EndFrameThenAllDoneThenStartAgain) {
  LoaderRig rig(WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}}));
  rig.reach(U::FileDone);
  rig.forget();
  rig.loader->Finish();
  EXPECT_EQ(rig.loader->state(), U::SendEnd);
  EXPECT_EQ(rig.link.events, (std::vector<std::string>{"PT", "PR", "F 5b 00 00 00 00 5d"}));

  EXPECT_FALSE(rig.answer({0x77}));
  EXPECT_EQ(rig.traces.back(), "SEND END - error 0077");
  EXPECT_TRUE(rig.answer({0x55}));
  EXPECT_EQ(rig.loader->state(), U::AllDone);
  EXPECT_FALSE(rig.loader->Step());
  EXPECT_EQ(rig.loader->state(), U::Reset);
  EXPECT_EQ(rig.traces.back(), "ALL DONE");
}

TEST(UploaderStates, DeadEndsStayPutWithoutTouchingTheLine) {
  const std::string image = WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}});
  LoaderRig noDevice(image, kFlashEnd, LoadAddressing::Addressed, /*portFound=*/false);
  LoaderRig badType(image);
  badType.reach(U::Hand);
  badType.answer({0x86});
  badType.forget();
  const int reads = badType.link.reads;
  for (int i = 0; i < 50; ++i) {
    EXPECT_FALSE(noDevice.loader->Step());
    EXPECT_FALSE(badType.answer({0xAA}));
  }
  EXPECT_EQ(noDevice.loader->state(), U::Inactive);
  EXPECT_EQ(badType.loader->state(), U::BadType);
  EXPECT_EQ(noDevice.link.reads + badType.link.reads - reads, 0);
  EXPECT_TRUE(noDevice.link.events.empty() && badType.link.events.empty());
  EXPECT_TRUE(noDevice.traces.empty() && badType.traces.empty());
}

TEST(UploaderStates, FinishOutsideFileDoneSendsNothing) {
  LoaderRig rig(WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}}));
  rig.reach(U::WaitRec);
  rig.forget();
  rig.loader->Finish();
  EXPECT_EQ(rig.loader->state(), U::WaitRec);
  EXPECT_TRUE(rig.link.events.empty());
}

} // namespace
} // namespace quillon::test
