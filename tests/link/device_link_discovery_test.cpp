// Discovery over several pseudo-terminals: silent ports, a wrong answer, the device, and
// what the scan leaves open behind it.

#include "tests/link/link_fixture.h"
#include "testsupport/scratch_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quillon {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::DeviceAnswers;
using testing::HookClock;
using testing::PeerReply;
using testing::PtyPeer;
using testing::SilentAnswers;
using testing::ToBytes;

PtyPeer::Answer WrongHelloAnswers() {
  return [](const std::string&) { return std::vector<PeerReply>{{ToBytes("SA-78"), 0ms}}; };
}

std::size_t HelloCount(const PtyPeer& peer) {
  std::size_t count = 0;
  for (const auto& text : peer.texts())
    count += text == "SA-28" ? 1 : 0;
  return count;
}

TEST(LinkFindDevice, FindsTheDeviceBehindSilentAndWrongPortsAndClosesThem) {
  PtyPeer silent, wrong, device;
  silent.serve(SilentAnswers());
  wrong.serve(WrongHelloAnswers());
  device.serve(DeviceAnswers());
  HookClock clock;
  DeviceLink link(clock);
  link.setCandidatePorts({silent.slavePath(), wrong.slavePath(), device.slavePath()});

  EXPECT_EQ(link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(link.lastStatus(), KV7SUCCESS);
  EXPECT_EQ(link.mode(), ModeCommand);
  EXPECT_TRUE(link.IsPortFound());
  EXPECT_EQ(std::string(link.portName().data()), device.slavePath());
  ASSERT_TRUE(device.waitForBytes(6, 1s));
  EXPECT_EQ(device.received(), ToBytes("SA-28", true)) << "found at its first hello";
  EXPECT_EQ(HelloCount(silent), 1u);
  EXPECT_EQ(HelloCount(wrong), 1u);
  // Three opens settle 300 ms each; the silent port adds thirty 10 ms polling pauses.
  EXPECT_EQ(clock.nowMs, 3 * 300 + 30 * 10);

  EXPECT_FALSE(silent.slaveHeld());
  EXPECT_FALSE(wrong.slaveHeld());
  EXPECT_TRUE(device.slaveHeld());
  EXPECT_FALSE(link.IsPortGone());

  using Outcome = PortTrial::Outcome;
  const std::vector<PortTrial>& tried = link.portsTried();
  ASSERT_EQ(tried.size(), 3u);
  EXPECT_EQ(tried[0].outcome, Outcome::Silent);
  EXPECT_EQ(tried[0].greetings, 1);
  EXPECT_EQ(tried[1].outcome, Outcome::NotAYardmark);
  EXPECT_EQ(tried[2].outcome, Outcome::Answered);
}

TEST(LinkFindDevice, TenPassesOfWrongAnswersAreNotFoundAndReleaseThePort) {
  PtyPeer wrong;
  wrong.serve(WrongHelloAnswers());
  HookClock clock;
  DeviceLink link(clock);
  link.setCandidatePorts({wrong.slavePath()});

  EXPECT_EQ(link.FindDevice(), KV7NOTFOUND);
  EXPECT_EQ(HelloCount(wrong), 10u);
  EXPECT_EQ(link.mode(), ModeIdle);
  EXPECT_FALSE(link.IsPortFound());
  EXPECT_FALSE(link.hasPort());
  EXPECT_EQ(std::string(link.portName().data()), "NOT FOUND");
  EXPECT_FALSE(wrong.slaveHeld());
}

TEST(LinkFindDevice, NoPortsAtAllAreAnInvalidHandleWithoutAHello) {
  HookClock clock;
  DeviceLink link(clock);
  link.setCandidatePorts({});
  EXPECT_EQ(link.FindDevice(), KV7INVALIDHANDLEVALUE);
  EXPECT_EQ(link.mode(), ModeIdle);

  PtyPeer bystander;
  bystander.serve(DeviceAnswers());
  link.setCandidatePorts({"/dev/quillon-no-such-port-1", "/dev/quillon-no-such-port-2"});
  EXPECT_EQ(link.FindDevice(), KV7INVALIDHANDLEVALUE);
  EXPECT_TRUE(clock.pauses.empty());
  EXPECT_TRUE(bystander.received().empty());
}

TEST(LinkFindDevice, SkipsAPathTooLongToKeepAsThePortName) {
  PtyPeer behindLongName, device;
  behindLongName.serve(DeviceAnswers());
  device.serve(DeviceAnswers());
  const test::ScratchFolder scratch;
  const std::filesystem::path dir = scratch.freshFolder(std::string(200, 'd'));
  const std::filesystem::path longLink = dir / std::string(80, 'p');
  std::filesystem::create_symlink(behindLongName.slavePath(), longLink);
  ASSERT_GE(longLink.string().size(), DeviceLink::kPortNameSize);

  HookClock clock;
  DeviceLink link(clock);
  link.setCandidatePorts({longLink.string(), device.slavePath()});
  EXPECT_EQ(link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(std::string(link.portName().data()), device.slavePath());
  EXPECT_EQ(link.portsTried().front().outcome, PortTrial::Outcome::NameTooLong);
  EXPECT_TRUE(behindLongName.received().empty());
  EXPECT_EQ(clock.pauses.front(), 300);
  EXPECT_EQ(clock.nowMs, 300) << "only one port was opened";
}

TEST(LinkFindDevice, ASecondScanFindsTheSameDeviceAgain) {
  PtyPeer device;
  device.serve(DeviceAnswers());
  HookClock clock;
  DeviceLink link(clock);
  link.setCandidatePorts({device.slavePath()});
  ASSERT_EQ(link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(HelloCount(device), 2u);
  EXPECT_EQ(link.mode(), ModeCommand);
}

TEST(LinkEnterCommandMode, RefusedBeforeAnyScan) {
  HookClock clock;
  DeviceLink link(clock);
  EXPECT_EQ(link.EnterCommandMode(), KV7NOTFOUND);
  EXPECT_EQ(link.mode(), ModeInitial);
}

TEST(LinkEnterCommandMode, IdleWithoutAPortIsAnInvalidHandleAndStaysIdle) {
  HookClock clock;
  DeviceLink link(clock);
  link.setCandidatePorts({});
  link.FindDevice();
  EXPECT_EQ(link.EnterCommandMode(), KV7INVALIDHANDLEVALUE);
  EXPECT_EQ(link.mode(), ModeIdle);
}

TEST(LinkEnterCommandMode, AfterAScanSaysHelloAgain) {
  testing::FoundDevice found;
  ASSERT_EQ(found.link.ShutDown(), KV7SUCCESS);
  ASSERT_EQ(found.link.mode(), ModeIdle);
  EXPECT_EQ(found.link.EnterCommandMode(), KV7SUCCESS);
  EXPECT_EQ(found.link.mode(), ModeCommand);
  ASSERT_TRUE(found.peer.waitForBytes(found.helloBytes + 12, 1s));
  Bytes expected = ToBytes("KV7-9", true);
  const Bytes hello = ToBytes("SA-28", true);
  expected.insert(expected.end(), hello.begin(), hello.end());
  EXPECT_EQ(found.sentSinceDiscovery(), expected);
}

} // namespace
} // namespace quillon
