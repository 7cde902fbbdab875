// The two commands that ready the GPS chip, as the chip receives them through passthrough.

#include "tests/link/faulty_port.h"
#include "tests/link/link_fixture.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::DeviceAnswers;
using testing::FaultyPorts;
using testing::FoundDevice;
using testing::HookClock;
using testing::PortFaults;
using testing::ToBytes;

const Bytes kAllOff = ToBytes("$PASHS,NME,ALL,A,OFF\r\n");
const Bytes kUpdateFirmware{0x24, 0x24, 0x00, 0x07, 0x0A, 0x00, 0x0D};

Bytes Joined(const Bytes& a, const Bytes& b) {
  Bytes all = a;
  all.insert(all.end(), b.begin(), b.end());
  return all;
}

// Found, in passthrough, at 4800 baud: where the load page calls PrepareGpsForLoad.
void ReadyForPrepare(FoundDevice& found) {
  ASSERT_EQ(found.link.StartGpsPassthrough(), KV7SUCCESS);
  ASSERT_EQ(found.link.SetBaud4800(), KV7SUCCESS);
  ASSERT_TRUE(found.peer.waitForBytes(found.helloBytes + 6, 1s));
  found.helloBytes = found.peer.received().size();
  found.clock.pauses.clear();
}

TEST(LinkPrepareGps, SendsBothCommandsAroundAHalfSecondPauseAndDropsTheChatter) {
  FoundDevice found;
  ReadyForPrepare(found);
  std::size_t bytesAtPause = 0;
  found.clock.onSleep = [&](int) {
    found.peer.waitForBytes(found.helloBytes + kAllOff.size(), 1s);
    bytesAtPause = found.peer.received().size() - found.helloBytes;
    found.peer.send(ToBytes("$GPGGA,,,,,,0,00,,,M,,M,,*66\r\n")); // still talking
  };

  EXPECT_EQ(found.link.PrepareGpsForLoad(), KV7SUCCESS);
  EXPECT_EQ(found.clock.pauses, std::vector<int>{500});
  EXPECT_EQ(bytesAtPause, kAllOff.size()) << "the all-off command alone before the pause";
  ASSERT_TRUE(found.peer.waitForBytes(found.helloBytes + 29, 1s));
  EXPECT_EQ(found.sentSinceDiscovery(), Joined(kAllOff, kUpdateFirmware));
  EXPECT_EQ(found.peer.outputSpeed(), B4800);
  EXPECT_EQ(found.link.mode(), ModePassthrough);
  std::uint8_t leftover[8];
  EXPECT_EQ(found.link.ReadBytes(leftover, sizeof leftover), 0u);
}

TEST(LinkPrepareGps, PreconditionsInOrderWithNothingWritten) {
  HookClock clock;
  DeviceLink unfound(clock);
  EXPECT_EQ(unfound.PrepareGpsForLoad(), KV7NOTFOUND);

  FoundDevice found;
  EXPECT_EQ(found.link.PrepareGpsForLoad(), KV7INCORRECTMODE) << "command mode, 115200";
  ASSERT_EQ(found.link.StartGpsPassthrough(), KV7SUCCESS);
  ASSERT_TRUE(found.peer.waitForBytes(found.helloBytes + 6, 1s));
  EXPECT_EQ(found.link.PrepareGpsForLoad(), KV7INVALIDBAUDRATE) << "before SetBaud4800";
  ASSERT_EQ(found.link.SetBaud4800(), KV7SUCCESS);
  ASSERT_EQ(found.link.SetBaud115200(), KV7SUCCESS);
  EXPECT_EQ(found.link.PrepareGpsForLoad(), KV7INVALIDBAUDRATE) << "after SetBaud115200";
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(found.sentSinceDiscovery(), ToBytes("KV7-g", true));
}

TEST(LinkPrepareGps, WriteFailingAtTheThirdByteIsAllOffNotSentAfterTwoBytes) {
  PortFaults faults;
  FoundDevice found(DeviceAnswers(), FaultyPorts(faults));
  ReadyForPrepare(found);
  faults.failWriteNumber = faults.writes + 3;

  EXPECT_EQ(found.link.PrepareGpsForLoad(), KV7GPSALLOFFNOTSENT);
  EXPECT_EQ(found.link.lastStatus(), KV7GPSALLOFFNOTSENT);
  EXPECT_TRUE(found.clock.pauses.empty()) << "the update command is never reached";
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(found.sentSinceDiscovery(), ToBytes("$P"));
}

TEST(LinkPrepareGps, WriteFailingInTheUpdateCommandIsUpdateFirmwareNotSent) {
  PortFaults faults;
  FoundDevice found(DeviceAnswers(), FaultyPorts(faults));
  ReadyForPrepare(found);
  faults.failWriteNumber = faults.writes + static_cast<int>(kAllOff.size()) + 3;

  EXPECT_EQ(found.link.PrepareGpsForLoad(), KV7GPSUPDATEFIRMWARENOTSENT);
  EXPECT_EQ(found.clock.pauses, std::vector<int>{500});
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(found.sentSinceDiscovery(), Joined(kAllOff, ToBytes("$$")));
}

} // namespace
} // namespace quillon
