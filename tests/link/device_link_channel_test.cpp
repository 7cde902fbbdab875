// The link's serial channel over real pseudo-terminals: opening, the text exchange and its
// comparison rules, single-byte reads and the baud-rate operations.

#include "tests/link/faulty_port.h"
#include "tests/link/link_fixture.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::ElapsedMs;
using testing::FaultyPorts;
using testing::FoundDevice;
using testing::HookClock;
using testing::PortFaults;
using testing::PtyPeer;
using testing::ToBytes;

// A link that found a peer playing the device; the peer then stops answering and the test
// plays the far end byte by byte.
struct OpenLink : FoundDevice {
  OpenLink() { peer.stopServing(); }
};

TEST(LinkOpenPort, OpensAt115200AndSettles300Ms) {
  PtyPeer peer;
  HookClock clock;
  DeviceLink link(clock);
  auto port = link.OpenPort(peer.slavePath());
  ASSERT_TRUE(port);
  EXPECT_EQ(link.lastStatus(), KV7SUCCESS);
  EXPECT_EQ(peer.outputSpeed(), B115200);
  EXPECT_EQ(clock.pauses, std::vector<int>{300});
  EXPECT_FALSE(link.hasPort()) << "discovery decides which port the link keeps";
}

TEST(LinkOpenPort, AMissingOrHeldPortIsAnInvalidHandleThatSaysWhyWithoutPause) {
  PtyPeer peer;
  HookClock clock;
  DeviceLink link(clock);
  EXPECT_FALSE(link.OpenPort("/dev/quillon-no-such-port"));
  EXPECT_EQ(link.lastStatus(), KV7INVALIDHANDLEVALUE);
  EXPECT_EQ(link.lastPortFailure(), (PortFailure{PortError::Gone, ENOENT}));

  auto held = link.OpenPort(peer.slavePath());
  ASSERT_TRUE(held);
  DeviceLink other(clock);
  EXPECT_FALSE(other.OpenPort(peer.slavePath()));
  EXPECT_EQ(other.lastStatus(), KV7INVALIDHANDLEVALUE);
  ASSERT_TRUE(other.lastPortFailure());
  EXPECT_EQ(other.lastPortFailure()->error, PortError::Busy);
  EXPECT_EQ(clock.pauses, std::vector<int>{300}) << "only the open that succeeded settles";
}

TEST(LinkOpenPort, RefusedTimeoutsDoNotFailTheOpen) {
  PtyPeer peer;
  HookClock clock;
  PortFaults faults;
  faults.refuseTimeouts = true;
  DeviceLink link(clock, FaultyPorts(faults));
  EXPECT_TRUE(link.OpenPort(peer.slavePath()));
  EXPECT_EQ(link.lastStatus(), KV7SUCCESS);
}

TEST(LinkOpenPort, RefusedLineSettingsFailTheOpenAndReleaseThePort) {
  PtyPeer peer;
  HookClock clock;
  PortFaults faults;
  faults.refuseLineSettings = true;
  DeviceLink link(clock, FaultyPorts(faults));
  EXPECT_FALSE(link.OpenPort(peer.slavePath()));
  EXPECT_EQ(link.lastStatus(), KV7SETCOMSTATEERROR);
  EXPECT_TRUE(clock.pauses.empty());
  EXPECT_FALSE(peer.slaveHeld());
  DeviceLink again(clock);
  EXPECT_TRUE(again.OpenPort(peer.slavePath())) << "the refused handle was closed";
}

TEST(LinkSendText, HelloAndCommandGoOutWithTheirZeroByteInOneWrite) {
  OpenLink open;
  EXPECT_EQ(open.link.SendText("SA-28"), KV7SUCCESS);
  EXPECT_EQ(open.peer.readFor(50ms), (Bytes{0x53, 0x41, 0x2D, 0x32, 0x38, 0x00}));
  EXPECT_EQ(open.link.SendText("KV7-1"), KV7SUCCESS);
  EXPECT_EQ(open.peer.readFor(50ms), ToBytes("KV7-1", true));
}

TEST(LinkSendText, RefusesTextsThatDoNotFitAndWorksOnlyWithAPort) {
  OpenLink open;
  EXPECT_EQ(open.link.SendText("ABCDEFGHIJK"), KV7SUCCESS); // 11 characters fit
  EXPECT_EQ(open.peer.readFor(50ms), ToBytes("ABCDEFGHIJK", true));
  EXPECT_EQ(open.link.SendText("ABCDEFGHIJKL"), KV7COMMANDNOTSENT);
  EXPECT_TRUE(open.peer.readFor(50ms).empty()) << "a cut-off command is another command";

  HookClock clock;
  DeviceLink portless(clock);
  EXPECT_EQ(portless.SendText("SA-28"), KV7INVALIDHANDLEVALUE);
  EXPECT_EQ(portless.ExpectReply("SA-77"), KV7INVALIDHANDLEVALUE);
}

TEST(LinkExpectReply, ComparesOnlyTheExpectedLeadingBytes) {
  OpenLink open;
  open.peer.send(ToBytes("SA-77 and more"));
  EXPECT_EQ(open.link.ExpectReply("SA-77"), KV7SUCCESS);
  open.link.PurgeReceive();

  open.peer.send(Bytes{0x53, 0x41, 0x2D, 0x37});
  EXPECT_EQ(open.link.ExpectReply("SA-77"), KV7INVALIDRESPONSE) << "short reply";

  open.peer.send(ToBytes("SA-78"));
  EXPECT_EQ(open.link.ExpectReply("SA-77"), KV7INVALIDRESPONSE);

  open.peer.send(ToBytes("?"));
  EXPECT_EQ(open.link.ExpectReply(""), KV7SUCCESS) << "an empty expectation takes any byte";
  EXPECT_TRUE(open.clock.pauses.empty()) << "no poll pause once bytes are in";
}

TEST(LinkExpectReply, ASilentLineIsNoResponseAfterThirtyPolls) {
  OpenLink open;
  StatusCode result = 0;
  const double ms = ElapsedMs([&] { result = open.link.ExpectReply("SA-77"); });
  EXPECT_EQ(result, KV7NORESPONSE);
  EXPECT_EQ(open.clock.pauses, std::vector<int>(30, 10));
  EXPECT_GE(ms, 30 * 135.0) << "thirty reads of 9 bytes, 150 ms each";
}

TEST(LinkReadByte, GivesTheByteOrMinusThreeAfterAbout30Ms) {
  OpenLink open;
  int out = 0;
  open.peer.send(Bytes{0xFF});
  EXPECT_EQ(open.link.ReadByte(out), KV7SUCCESS);
  EXPECT_EQ(out, 255);

  StatusCode result = 0;
  const double ms = ElapsedMs([&] { result = open.link.ReadByte(out); });
  EXPECT_EQ(result, KV7INVALIDRESPONSE);
  EXPECT_EQ(open.link.lastStatus(), KV7INVALIDRESPONSE);
  EXPECT_EQ(out, -3);
  EXPECT_GE(ms, 29.0);
  EXPECT_LT(ms, 70.0);
}

TEST(LinkWriteByte, SendsTheLowEightBits) {
  OpenLink open;
  EXPECT_EQ(open.link.WriteByte(0x1A5), KV7SUCCESS);
  EXPECT_EQ(open.peer.readFor(50ms), Bytes{0xA5});
}

TEST(LinkPurge, WithoutAPortDoesNothingAndLeavesTheStatus) {
  HookClock clock;
  DeviceLink link(clock);
  EXPECT_EQ(link.ExpectReply("SA-77"), KV7INVALIDHANDLEVALUE);
  EXPECT_EQ(link.PurgeReceive(), 0);
  EXPECT_EQ(link.PurgeTransmit(), 0);
  EXPECT_EQ(link.lastStatus(), KV7INVALIDHANDLEVALUE);
  EXPECT_EQ(link.WriteByte(0x24), KV7INVALIDHANDLEVALUE);
  EXPECT_STREQ(link.portName().data(), "NOT FOUND");
}

TEST(LinkBaud, OnlyInPassthroughAndSeenOnTheLine) {
  HookClock clock;
  DeviceLink unfound(clock);
  EXPECT_EQ(unfound.SetBaud4800(), KV7NOTFOUND);
  unfound.setCandidatePorts({});
  unfound.FindDevice(); // idle now, and still not found
  EXPECT_EQ(unfound.SetBaud115200(), KV7NOTFOUND) << "2 whatever the mode";

  FoundDevice found;
  EXPECT_EQ(found.link.SetBaud4800(), KV7INCORRECTMODE);
  EXPECT_EQ(found.peer.outputSpeed(), B115200);
  EXPECT_EQ(found.link.highSpeed(), 1);

  ASSERT_EQ(found.link.StartGpsPassthrough(), KV7SUCCESS);
  EXPECT_EQ(found.link.SetBaud4800(), KV7SUCCESS);
  EXPECT_EQ(found.peer.outputSpeed(), B4800);
  EXPECT_EQ(found.link.highSpeed(), 0);
  EXPECT_EQ(found.link.mode(), ModePassthrough);
  EXPECT_EQ(found.link.SetBaud115200(), KV7SUCCESS);
  EXPECT_EQ(found.peer.outputSpeed(), B115200);
  EXPECT_EQ(found.link.highSpeed(), 1);
}

TEST(LinkBaud, ARefusedChangeFailsAndKeepsTheSpeed) {
  PortFaults faults;
  faults.refuseLaterLineSettings = true;
  FoundDevice found(testing::DeviceAnswers(), FaultyPorts(faults));
  ASSERT_EQ(found.link.StartGpsPassthrough(), KV7SUCCESS);
  EXPECT_EQ(found.link.SetBaud4800(), KV7SETCOMSTATEERROR);
  EXPECT_EQ(found.link.highSpeed(), 1);
  EXPECT_EQ(found.link.baudRate(), 115200);
  EXPECT_EQ(found.peer.outputSpeed(), B115200);
}

TEST(LinkStatusText, GivesTheTextOfTheLastStatusOnly) {
  HookClock clock;
  DeviceLink link(clock);
  link.SendText("SA-28");
  EXPECT_EQ(link.GetStatusText(), "KV7INVALIDHANDLEVALUE: Invalid Comm Handle Value ");
  EXPECT_EQ(link.lastStatus(), KV7INVALIDHANDLEVALUE);

  OpenLink open;
  EXPECT_EQ(open.link.WriteBytes(nullptr, 1), KV7EVENTNOTCREATED);
  EXPECT_EQ(open.link.GetStatusText(), "Undefined error");
}

} // namespace
} // namespace quillon
