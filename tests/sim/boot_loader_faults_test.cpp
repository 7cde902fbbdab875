#include "tests/sim/loader_host.h"

namespace quillon::sim::testing {
namespace {

const std::vector<std::uint8_t> kData = {0x10, 0x20, 0x30, 0x40};
const std::vector<std::uint8_t> kMore = {0x50, 0x60, 0x70, 0x80};
const std::vector<std::uint8_t> kAcceptedAndProgrammed = {kOk, kRecWait};

struct FaultyLoader : Served {
  explicit FaultyLoader(std::vector<std::string> faults) : Served(FastOptions(std::move(faults))) {}
  void toRecords() {
    ASSERT_TRUE(started);
    StartBootLoader(*this);
    Handshake(*host);
    ASSERT_EQ(Erase(*host, kFlashStart, 0xFFFFFFFF), 16);
  }
};

TEST(BootLoaderFaults, ResendAsksOnceForTheNamedRecord) {
  FaultyLoader l({"resend=2"});
  l.toRecords();
  ASSERT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
  EXPECT_EQ(SendRecord(*l.host, kFlashStart + 4, kMore), std::vector<std::uint8_t>{0x81});
  EXPECT_EQ(SendRecord(*l.host, kFlashStart + 4, kMore), kAcceptedAndProgrammed);
  EXPECT_TRUE(
      l.device.flashEquals({{kFlashStart, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80}}}));
}

TEST(BootLoaderFaults, FailSendsTheLoaderBackToItsHello) {
  FaultyLoader l({"fail=1"});
  l.toRecords();
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, kData), (std::vector<std::uint8_t>{kOk, 0x84}));
  EXPECT_TRUE(l.device.flashEquals({}));
  // The host starts over: hello, handshake, erase, the records again.
  Handshake(*l.host);
  ASSERT_EQ(Erase(*l.host, kFlashStart, 0xFFFFFFFF), 16);
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, kData}}));
}

TEST(BootLoaderFaults, ResetRepliesThenReportsReadyAgain) {
  FaultyLoader l({"reset=2"});
  l.toRecords();
  ASSERT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
  l.host->send(RecordFrame(kFlashStart + 4, kMore));
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{0x87});
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{kRecWait});
  EXPECT_EQ(l.device.programmedBytes(), 0u);
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
  EXPECT_EQ(SendRecord(*l.host, kFlashStart + 4, kMore), kAcceptedAndProgrammed);
}

TEST(BootLoaderFaults, OneDebugWordCarriesTheRecordsHighAddress) {
  FaultyLoader l({"debug1=1"});
  l.toRecords();
  l.host->send(RecordFrame(kFlashStart, kData));
  EXPECT_EQ(l.host->read(5, 300ms), (std::vector<std::uint8_t>{kOk, 0x8E, 0x2D, 0x00, kRecWait}));
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, kData}}));
}

TEST(BootLoaderFaults, TwoDebugWordsReportAnEarlierAddressAndSkipTheRecord) {
  FaultyLoader l({"debug2=2"});
  l.toRecords();
  ASSERT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
  const std::uint32_t address = kFlashStart + 0x1000;
  const std::uint32_t reported = address - 1980;
  l.host->send(RecordFrame(address, kMore));
  EXPECT_EQ(l.host->read(8, 300ms),
            (std::vector<std::uint8_t>{kOk, 0x8E, static_cast<std::uint8_t>(reported >> 24),
                                       static_cast<std::uint8_t>(reported >> 16), 0x8E,
                                       static_cast<std::uint8_t>(reported >> 8),
                                       static_cast<std::uint8_t>(reported), kRecWait}));
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, kData}})) << "the reported record is not kept";
  EXPECT_EQ(SendRecord(*l.host, address, kMore), kAcceptedAndProgrammed);
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, kData}, {address, kMore}}));
}

TEST(BootLoaderFaults, BadTypeAnswersTheHandshake) {
  FaultyLoader l({"bad-type"});
  ASSERT_TRUE(l.started);
  StartBootLoader(l);
  ASSERT_TRUE(l.host->waitFor(kHello, 300ms));
  l.host->send({kOk});
  EXPECT_TRUE(l.host->waitFor(0x86, 300ms));
}

TEST(BootLoaderFaults, BadCommandAtTheEraseThenHelloAgain) {
  FaultyLoader l({"bad-cmd"});
  ASSERT_TRUE(l.started);
  StartBootLoader(l);
  Handshake(*l.host);
  l.host->send(EraseFrame(kFlashStart, 0xFFFFFFFF));
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{0x83});
  Handshake(*l.host);
  EXPECT_EQ(Erase(*l.host, kFlashStart, 0xFFFFFFFF), 16);
}

TEST(BootLoaderFaults, CorruptedFrameIsAskedForAgain) {
  FaultyLoader l({"corrupt=2"}); // frame 1 is the erase frame
  l.toRecords();
  l.host->send(RecordFrame(kFlashStart, kData));
  EXPECT_EQ(l.host->read(2, 300ms), std::vector<std::uint8_t>{0x81});
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, kData}}));
}

TEST(BootLoaderFaults, CorruptedEraseFrameIsAskedForAgain) {
  FaultyLoader l({"corrupt=1"});
  ASSERT_TRUE(l.started);
  StartBootLoader(l);
  Handshake(*l.host);
  l.host->send(EraseFrame(kFlashStart, 0xFFFFFFFF));
  EXPECT_EQ(l.host->read(2, 300ms), std::vector<std::uint8_t>{0x81});
  EXPECT_EQ(Erase(*l.host, kFlashStart, 0xFFFFFFFF), 16);
}

TEST(BootLoaderFaults, RestartLosesTheFrameAndGreetsTheHostAgain) {
  FaultyLoader l({"restart=2"}); // frame 1 is the erase frame
  l.toRecords();
  l.host->send(RecordFrame(kFlashStart, kData));
  // No answer to the frame: the next byte is a hello, and frames go unheard until the host
  // shakes hands again.
  EXPECT_EQ(l.host->read(1, 300ms), std::vector<std::uint8_t>{kHello});
  l.host->send(RecordFrame(kFlashStart, kData));
  EXPECT_FALSE(l.host->waitFor(kOk, 100ms));
  EXPECT_TRUE(l.device.flashEquals({}));
  Handshake(*l.host);
  ASSERT_EQ(Erase(*l.host, kFlashStart, 0xFFFFFFFF), 16);
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, kData}}));
}

TEST(BootLoaderFaults, UnplugDuringTheTransfer) {
  FaultyLoader l({"unplug=record:2"});
  l.toRecords();
  ASSERT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
  l.host->send(RecordFrame(kFlashStart + 4, kMore));
  EXPECT_TRUE(l.host->sawHangUp(500ms));
  EXPECT_EQ(l.device.state(), DeviceState::Unplugged);
  EXPECT_TRUE(l.device.flashEquals({{kFlashStart, kData}}));
}

TEST(BootLoaderFaults, UnplugAtTheEraseAndAtTheEnd) {
  for (const char* step : {"unplug=erase", "unplug=end"}) {
    SCOPED_TRACE(step);
    FaultyLoader l({step});
    ASSERT_TRUE(l.started);
    StartBootLoader(l);
    Handshake(*l.host);
    l.host->send(EraseFrame(kFlashStart, 0xFFFFFFFF));
    if (std::string(step) == "unplug=end") {
      std::vector<std::uint8_t> sectors;
      ASSERT_TRUE(l.host->waitFor(kOk, 1000ms, &sectors));
      l.host->send(EndFrame());
    }
    EXPECT_TRUE(l.host->sawHangUp(500ms));
  }
}

// Four seconds of stall are 200 ms at this scale; the host's record resend comes after them.
TEST(BootLoaderFaults, SilentAtRecordIgnoresFramesForAWhile) {
  FaultyLoader l({"silent-at=record:4"});
  l.toRecords();
  const auto stallBegan = std::chrono::steady_clock::now();
  l.host->send(RecordFrame(kFlashStart, kData));
  EXPECT_TRUE(l.host->read(1, 100ms).empty());
  std::this_thread::sleep_until(stallBegan + 250ms);
  EXPECT_EQ(SendRecord(*l.host, kFlashStart, kData), kAcceptedAndProgrammed);
}

TEST(BootLoaderFaults, SilentAtProgDelaysTheEndOfProgramming) {
  FaultyLoader l({"silent-at=prog:2"});
  l.toRecords();
  l.host->send(RecordFrame(kFlashStart, kData));
  EXPECT_EQ(l.host->read(1, 100ms), std::vector<std::uint8_t>{kOk});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(l.host->read(1, 500ms), std::vector<std::uint8_t>{kRecWait});
  EXPECT_GE(std::chrono::steady_clock::now() - start, 80ms);
}

TEST(BootLoaderFaults, SilentAtHelloHoldsTheFirstHelloBack) {
  FaultyLoader l({"silent-at=hello:4"}); // 200 ms at this scale
  ASSERT_TRUE(l.started);
  StartBootLoader(l);
  EXPECT_TRUE(l.host->read(1, 100ms).empty());
  EXPECT_TRUE(l.host->waitFor(kHello, 400ms));
}

} // namespace
} // namespace quillon::sim::testing
