#include "tests/sim/loader_host.h"

#include <numeric>

namespace quillon::sim::testing {
namespace {

using Image = std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>;

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
  std::vector<std::uint8_t> data(size);
  for (std::size_t i = 0; i < size; ++i)
    data[i] = static_cast<std::uint8_t>(seed + i * 7);
  return data;
}

const std::vector<std::uint8_t> kFirst = Pattern(1980, 1);
const std::vector<std::uint8_t> kSecond = Pattern(1980, 2);
const std::vector<std::uint8_t> kThird = Pattern(300, 3);
const Image kImage = {
    {kFlashStart, kFirst}, {kFlashStart + 1980, kSecond}, {kFlashStart + 3960, kThird}};

const std::vector<std::uint8_t> kAcceptedAndProgrammed = {kOk, kRecWait};

struct Loader : Served {
  explicit Loader(std::vector<std::string> faults = {}) : Served(FastOptions(std::move(faults))) {}
  void toErase() {
    ASSERT_TRUE(started);
    StartBootLoader(*this);
    Handshake(*host);
  }
  void toRecords() {
    toErase();
    ASSERT_EQ(Erase(*host, kFlashStart, 0xFFFFFFFF), 16);
  }
  void sendImage() {
    for (const auto& [address, data] : kImage)
      ASSERT_EQ(SendRecord(*host, address, data), kAcceptedAndProgrammed);
  }
};

TEST(BootLoader, WholeTransferLeavesTheFlashAsSent) {
  Loader l;
  l.toRecords();
  EXPECT_EQ(l.device.state(), DeviceState::Flashing);
  l.sendImage();
  EXPECT_EQ(l.device.programmedBytes(), 1980u + 1980u + 300u);
  l.host->send(EndFrame());
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{kOk});
  EXPECT_EQ(l.device.state(), DeviceState::Done);
  EXPECT_EQ(l.device.framesReceived(), 5); // erase, three records, end
  EXPECT_TRUE(l.device.flashEquals(kImage));
  EXPECT_FALSE(l.device.flashEquals({{kFlashStart, kFirst}}));
}

TEST(BootLoader, OddRecordKeepsItsPadByte) {
  Loader l;
  l.toRecords();
  ASSERT_EQ(SendRecord(*l.host, kFlashStart, {1, 2, 3}), kAcceptedAndProgrammed);
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, {1, 2, 3, 0}}}));
}

TEST(BootLoader, EraseOfASmallRangeReportsItsSectors) {
  Loader l;
  l.toErase();
  EXPECT_EQ(Erase(*l.host, kFlashStart, kFlashStart + 3 * 65536 - 1), 3);
}

TEST(BootLoader, BadChecksumIsAnsweredWithAResendRequest) {
  Loader l;
  l.toRecords();
  auto frame = RecordFrame(kFlashStart, kFirst);
  frame[frame.size() - 2] ^= 0xFF;
  l.host->send(frame);
  EXPECT_EQ(l.host->read(2, 300ms), std::vector<std::uint8_t>{0x81});
  EXPECT_EQ(l.device.framesReceived(), 1);
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, kFirst), kAcceptedAndProgrammed);
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, kFirst}}));
}

TEST(BootLoader, MissingEndMarkerAndImpossibleLengthAskForResends) {
  Loader l;
  l.toRecords();
  auto frame = RecordFrame(kFlashStart, {1, 2, 3, 4});
  frame.back() = 0x00;
  l.host->send(frame);
  EXPECT_EQ(l.host->read(2, 300ms), std::vector<std::uint8_t>{0x82});
  l.host->send({0x5B, 0x7F, 0xFF});
  EXPECT_EQ(l.host->read(2, 300ms), std::vector<std::uint8_t>{0x85});
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, {1, 2, 3, 4}), kAcceptedAndProgrammed);
}

TEST(BootLoader, FrameThatStopsHalfwayIsGivenUp) {
  Loader l;
  l.toRecords();
  const auto frame = RecordFrame(kFlashStart, kFirst);
  l.host->send(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 100));
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{0x88});
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, kFirst), kAcceptedAndProgrammed);
}

TEST(BootLoader, LateHelloAnsweredTwiceStillShakesHands) {
  Loader l;
  ASSERT_TRUE(l.started);
  StartBootLoader(l);
  ASSERT_TRUE(l.host->waitFor(kHello, 300ms));
  // The host answers the first hello and then a second one that was already on its way.
  l.host->send({kOk});
  l.host->send({kOk});
  std::vector<std::uint8_t> before;
  ASSERT_TRUE(l.host->waitFor(kOk, 300ms, &before));
  EXPECT_EQ(before, std::vector<std::uint8_t>(before.size(), kHello));
  EXPECT_TRUE(l.host->read(1, 100ms).empty()) << "one OK for the handshake";
  l.host->send({0x6A});
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{kOk});
  EXPECT_EQ(Erase(*l.host, kFlashStart, 0xFFFFFFFF), 16);
}

TEST(BootLoader, RepeatedEraseCommandIsAcknowledgedAgain) {
  Loader l;
  l.toErase();
  l.host->send({0x6A});
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{kOk});
  EXPECT_EQ(Erase(*l.host, kFlashStart, 0xFFFFFFFF), 16);
}

TEST(BootLoader, EndFrameSentAgainIsAcknowledgedAgain) {
  Loader l;
  l.toRecords();
  l.host->send(EndFrame());
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{kOk});
  l.host->send(EndFrame());
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{kOk});
}

TEST(BootLoader, ProgrammingWithoutEraseOnlyClearsBits) {
  Loader l;
  l.toRecords();
  ASSERT_EQ(SendRecord(*l.host, kFlashStart, {0xF0, 0x0F}), kAcceptedAndProgrammed);
  ASSERT_EQ(SendRecord(*l.host, kFlashStart, {0x3C, 0xFF}), kAcceptedAndProgrammed);
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, {0x30, 0x0F}}}));
}

TEST(BootLoader, PacedTransferTakesItsLineTime) {
  YardmarkOptions options = FastOptions();
  options.pace = true;
  Served s(options);
  ASSERT_TRUE(s.started);
  StartBootLoader(s);
  Handshake(*s.host);
  ASSERT_EQ(Erase(*s.host, kFlashStart, 0xFFFFFFFF), 16);
  const auto sent = std::chrono::steady_clock::now();
  // 1991 bytes at 115200 baud, 10 bits each: 173 ms on the line before the frame is whole.
  ASSERT_EQ(SendRecord(*s.host, kFlashStart, kFirst), kAcceptedAndProgrammed);
  EXPECT_GE(std::chrono::steady_clock::now() - sent, 170ms);
  EXPECT_TRUE(s.device.flashEquals({{kFlashStart, kFirst}}));
}

} // namespace
} // namespace quillon::sim::testing
