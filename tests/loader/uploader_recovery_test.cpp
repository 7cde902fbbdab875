// Where the transfer goes on after the boot loader fails, resets or reports a different
// address: the flash must still receive every byte of the image.

#include "gpsload/hex_text.h"
#include "tests/loader/loader_rig.h"
#include "tests/loader/wire_image.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillon::test {
namespace {

using U = Uploader;

// 70 records of 32 bytes: a first chunk of 1984 bytes (62 records), a second of 256.
class Recovery : public ::testing::Test {
protected:
  void SetUp() override {
    rig.reach(U::WaitRec);
    firstFrame = rig.link.frames().back();
  }

  // Acknowledges the first record and sends the second.
  void sendSecondRecord() {
    rig.answer({0x55});
    rig.answer({0x55});
    rig.loader->Step();
    ASSERT_EQ(rig.loader->state(), U::WaitRec);
    ASSERT_EQ(rig.loader->bytesSent(), 1984u);
  }
  void answerEach(const std::vector<int>& bytes) {
    for (int byte : bytes)
      rig.answer({byte});
  }
  // Address and data of the last frame sent.
  std::pair<std::uint32_t, std::vector<std::uint8_t>> lastFrame() const {
    const auto bytes = ParseHexBytes(rig.link.frames().back());
    const std::uint32_t address = std::uint32_t{bytes[3]} << 24 | std::uint32_t{bytes[4]} << 16 |
                                  std::uint32_t{bytes[5]} << 8 | bytes[6];
    return {address, {bytes.begin() + 7, bytes.end() - 3}};
  }

  const std::vector<std::uint8_t> data = Pattern(70 * 32, 5);
  LoaderRig rig{WriteSRecordFile({{kFlashStart, data}})};
  std::string firstFrame;
};

TEST_F(Recovery, EchoedAddressBehindOursSendsAgainFromOneChunkPastIt) {
  sendSecondRecord();
  answerEach({0x55, 0x8E, 0x2D, 0x00, 0x8E, 0x00, 0x00});
  ASSERT_EQ(rig.loader->state(), U::Prog);
  EXPECT_TRUE(rig.answer({0x55}));
  EXPECT_EQ(rig.loader->bytesSent(), 1984u);
  rig.loader->Step();
  const auto [address, bytes] = lastFrame();
  EXPECT_EQ(address, 0x2D0007BCu);
  EXPECT_EQ(bytes, std::vector<std::uint8_t>(data.begin() + 1980, data.end()));
  EXPECT_NE(std::find(rig.traces.begin(), rig.traces.end(), "Got 2d000000 back"), rig.traces.end());
  EXPECT_NE(std::find(rig.traces.begin(), rig.traces.end(), "Handshake error - resending"),
            rig.traces.end());
}

// Anything but exactly two debug words with a value before PROG's acknowledgement leaves the
// ordinary advance: the second record was the last, so the image is done.
TEST_F(Recovery, OtherDebugReportsLeaveTheOrdinaryAdvance) {
  const std::vector<std::vector<int>> reports = {
      {0x55, 0x8E, 0x2D, 0x00},                                     // one word
      {0x55, 0x8E, 0x00, 0x00, 0x8E, 0x00, 0x00},                   // value 0
      {0x55, 0x8E, 0x2D, 0x00, 0x8E, 0x00, 0x00, 0x8E, 0x11, 0x11}, // three words
      {0x8E, 0x2D, 0x00, 0x8E, 0x00, 0x00, 0x55},                   // in WAIT REC: discarded
  };
  for (const auto& report : reports) {
    LoaderRig fresh(WriteSRecordFile({{kFlashStart, data}}));
    fresh.reach(U::WaitRec);
    fresh.answer({0x55});
    fresh.answer({0x55});
    fresh.loader->Step();
    for (int byte : report)
      fresh.answer({byte});
    ASSERT_EQ(fresh.loader->state(), U::Prog);
    fresh.answer({0x55});
    EXPECT_EQ(fresh.loader->bytesSent(), 2240u);
    fresh.loader->Step();
    EXPECT_EQ(fresh.loader->state(), U::FileDone);
    EXPECT_EQ(fresh.link.frames().size(), 3u); // the erase frame and two records
  }
}

// A short record followed by a reported address that would put the next frame beyond where the
// ordinary advance goes: following it would leave data out of the flash.
TEST(RecoveryLimits, EchoNeverSkipsDataNotYetSent) {
  const std::vector<std::uint8_t> tail = {9, 8, 7, 6};
  LoaderRig rig(WriteSRecordFile({{kFlashStart, Pattern(1984, 6)}, {kFlashStart + 0x1000, tail}}));
  rig.reach(U::WaitRec);
  for (int byte : {0x55, 0x55, -2, 0x55, 0x8E, 0x2D, 0x00, 0x8E, 0x0F, 0xF0, 0x55}) {
    if (byte == -2)
      rig.loader->Step(); // SEND REC: the 4-byte record at 0x2D001000
    else
      rig.answer({byte});
  }
  EXPECT_EQ(rig.loader->bytesSent(), 1988u);
  rig.loader->Step();
  EXPECT_EQ(rig.loader->state(), U::FileDone);
  EXPECT_EQ(std::count(rig.traces.begin(), rig.traces.end(), "Handshake error - resending"), 0);
}

// The address after the last record is one past 0xFFFFFFFF: it lies past any end, it does not
// wrap round to the start of the image and send it all again.
TEST(RecoveryLimits, ImageEndingAtTheTopOfTheAddressSpaceFinishes) {
  LoaderRig rig(WriteSRecordFile({{0xFFFFFFF0, Pattern(16, 9)}}));
  rig.reach(U::WaitRec);
  rig.answer({0x55});
  rig.answer({0x55});
  EXPECT_TRUE(rig.loader->Step());
  EXPECT_EQ(rig.loader->state(), U::FileDone);
  EXPECT_EQ(rig.loader->bytesSent(), 16u);
  EXPECT_EQ(rig.link.frames().size(), 2u); // the erase frame and the one record
  EXPECT_EQ(rig.traces.back(), "SEND REC - 0 len");
  EXPECT_EQ(rig.traces.at(rig.traces.size() - 2), "SEND REC - Address 100000000 past end ffffffff");
}

TEST_F(Recovery, FailStartsAgainWithHelloEraseAndTheFirstChunk) {
  sendSecondRecord();
  EXPECT_FALSE(rig.answer({0x84}));
  EXPECT_FALSE(rig.loader->Step());
  EXPECT_TRUE(rig.loader->Step());
  EXPECT_EQ(rig.loader->bytesSent(), 0u);
  rig.forget();
  answerEach({0xAA, 0x55, 0x55, 0x55, 0x55});
  rig.loader->Step();
  EXPECT_EQ(rig.loader->state(), U::WaitRec);
  EXPECT_EQ(rig.link.frames(),
            (std::vector<std::string>{"5b 00 04 2d 00 00 00 ff ff ff ff 2d 00 5d", firstFrame}));
}

TEST_F(Recovery, ResetByteWaitsColdThenSendsTheFirstChunkAgain) {
  sendSecondRecord();
  EXPECT_TRUE(rig.answer({0x87}));
  EXPECT_EQ(rig.loader->bytesSent(), 0u);
  EXPECT_EQ(rig.loader->state(), U::WaitCold);
  rig.forget();
  rig.answer({0x77});
  EXPECT_FALSE(rig.loader->Step());
  EXPECT_EQ(rig.link.frames(), std::vector<std::string>{firstFrame});
}

TEST(RecoveryClock, LastReplySecondMovesOnlyWhenTheBootLoaderSpeaks) {
  VirtualClock clock;
  clock.advanceMs(7500);
  ScriptedLoaderLink link;
  FirmwareImage image(WriteSRecordFile({{kFlashStart, {1, 2}}}));
  Uploader loader(image, link, LoadAddressing::Addressed, kFlashStart, kFlashEnd, clock);
  EXPECT_EQ(loader.lastReplySecond(), 7);
  loader.Step();
  clock.advanceMs(60'000);
  loader.Step(); // silence
  EXPECT_EQ(loader.lastReplySecond(), 7);
  link.queue({0x13});
  loader.Step(); // garbage still shows the boot loader is alive
  EXPECT_EQ(loader.lastReplySecond(), 67);
}

} // namespace
} // namespace quillon::test
