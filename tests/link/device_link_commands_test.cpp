// The device commands against a peer playing the Yardmark: bytes on the wire, the replies the
// link accepts and refuses, the command gate and the mode machine, and a pulled cable.

#include "link/device_protocol.h"
#include "tests/link/link_fixture.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::DeviceAnswers;
using testing::DeviceScript;
using testing::ElapsedMs;
using testing::FoundDevice;
using testing::HookClock;
using testing::PeerReply;
using testing::PtyPeer;
using testing::ToBytes;

// The device, except that `command` is answered by `replies` instead.
PtyPeer::Answer AnswersExcept(const std::string& command, std::vector<PeerReply> replies) {
  auto device = DeviceAnswers();
  return [device, command, replies](const std::string& text) {
    return text == command ? replies : device(text);
  };
}

TEST(LinkReadDeviceInfo, StoresTheRecordFields) {
  FoundDevice found;
  EXPECT_EQ(found.link.ReadDeviceInfo(), KV7SUCCESS);
  EXPECT_EQ(found.sentSinceDiscovery(), ToBytes("KV7-1", true));
  EXPECT_EQ(found.clock.pauses, (std::vector<int>{1000, 2000}));
  EXPECT_STREQ(found.link.batteryLevel().data(), "085\n");
  EXPECT_STREQ(found.link.identity().data(), "YM-KV7 000012345");
  EXPECT_STREQ(found.link.applicationVersion().data(), "1.234");

  EXPECT_EQ(found.link.GetBatteryLevel(), "085\n");
  EXPECT_EQ(DeviceLink::TextToInt(found.link.GetBatteryLevel().c_str()), 85);
  EXPECT_EQ(found.link.GetApplicationVersion(), "1.234");
  EXPECT_EQ(found.link.lastStatus(), KV7SUCCESS);
}

TEST(LinkReadDeviceInfo, ThirtyEightRecordBytesAreAnInvalidResponseAndStoreNothing) {
  DeviceScript script;
  script.record.pop_back();
  FoundDevice found(DeviceAnswers(script));
  EXPECT_EQ(found.link.ReadDeviceInfo(), KV7INVALIDRESPONSE);
  EXPECT_EQ(found.link.batteryLevel()[0], '\0');
  EXPECT_EQ(found.link.GetApplicationVersion(), std::nullopt);
  EXPECT_EQ(found.link.lastStatus(), KV7INVALIDSOFTWAREVERSION);
  EXPECT_EQ(found.link.GetBatteryLevel(), "");
  EXPECT_EQ(found.link.lastStatus(), KV7INVALIDSOFTWAREVERSION)
      << "the battery accessor reports nothing";
}

TEST(LinkReadDeviceInfo, AnEchoDifferingInItsLastCharacterIsAnInvalidResponse) {
  FoundDevice found(AnswersExcept("KV7-1", {{ToBytes("KV7-2"), 0ms}}));
  EXPECT_EQ(found.link.ReadDeviceInfo(), KV7INVALIDRESPONSE);
  EXPECT_EQ(found.clock.pauses, std::vector<int>{1000}) << "no record wait after a bad echo";
}

TEST(LinkReadGpsVersion, KeepsADollarPReplyAndRefusesDollarG) {
  DeviceScript script;
  script.gpsVersion = "$GPGGA,000000.00,,,,";
  script.gpsVersion += "*";
  ASSERT_EQ(script.gpsVersion.size(), 21u);
  FoundDevice wrong(DeviceAnswers(script));
  EXPECT_EQ(wrong.link.ReadGpsVersion(), KV7INVALIDRESPONSE);
  EXPECT_EQ(wrong.link.gpsVersion()[0], '\0');
  EXPECT_EQ(wrong.link.GetGpsVersion(), std::nullopt);
  EXPECT_EQ(wrong.link.lastStatus(), KV7INVALIDGPSVERSION);

  FoundDevice right;
  EXPECT_EQ(right.link.ReadGpsVersion(), KV7SUCCESS);
  EXPECT_EQ(right.sentSinceDiscovery(), ToBytes("KV7-G", true));
  EXPECT_EQ(right.clock.pauses, (std::vector<int>{1000, 4000}));
  EXPECT_EQ(right.link.GetGpsVersion(), "$PASHR,VER,GPS,1.0.00");
  EXPECT_EQ(right.link.lastStatus(), KV7SUCCESS);
}

TEST(LinkResetGps, WaitsTwentySecondsOnTheClockAndDropsTheChipsChatter) {
  // The echo and the chip's start-up output arrive together; the echo read takes 9 bytes.
  FoundDevice found(AnswersExcept("KV7-i", {{ToBytes("KV7-i$GPTXT,RESTART"), 0ms}}));
  StatusCode result = -1;
  const double ms = ElapsedMs([&] { result = found.link.ResetGps(); });
  EXPECT_EQ(result, KV7SUCCESS);
  EXPECT_EQ(found.clock.pauses, (std::vector<int>{1000, 20000}));
  EXPECT_LT(ms, 2000.0);
  EXPECT_EQ(found.sentSinceDiscovery(), ToBytes("KV7-i", true));
  std::uint8_t leftover[16];
  EXPECT_EQ(found.link.ReadBytes(leftover, sizeof leftover), 0u);
}

TEST(LinkCommandGate, BeforeDiscoveryEveryCommandIsNotFound) {
  HookClock clock;
  DeviceLink link(clock);
  EXPECT_EQ(link.ReadDeviceInfo(), KV7NOTFOUND);
  EXPECT_EQ(link.ReadGpsVersion(), KV7NOTFOUND);
  EXPECT_EQ(link.ResetGps(), KV7NOTFOUND);
  EXPECT_EQ(link.StartGpsPassthrough(), KV7NOTFOUND);
  EXPECT_EQ(link.ExitGpsPassthrough(), KV7NOTFOUND);
  EXPECT_EQ(link.ShutDown(), KV7NOTFOUND);
  EXPECT_EQ(clock.pauses, std::vector<int>{1000}) << "ShutDown pauses even when refused";
  EXPECT_EQ(link.mode(), ModeInitial);
}

TEST(LinkCommandGate, IdleRefusesEveryCommandWithNothingSent) {
  FoundDevice found;
  ASSERT_EQ(found.link.ShutDown(), KV7SUCCESS);
  EXPECT_EQ(found.link.mode(), ModeIdle);
  EXPECT_TRUE(found.link.hasPort()) << "the port stays open after a shut-down";
  ASSERT_TRUE(found.peer.waitForBytes(found.helloBytes + 6, 1s));
  found.clock.pauses.clear();

  EXPECT_EQ(found.link.ReadDeviceInfo(), KV7INCORRECTMODE);
  EXPECT_EQ(found.link.ReadGpsVersion(), KV7INCORRECTMODE);
  EXPECT_EQ(found.link.ResetGps(), KV7INCORRECTMODE);
  EXPECT_EQ(found.link.StartGpsPassthrough(), KV7INCORRECTMODE);
  EXPECT_EQ(found.link.ShutDown(), KV7INCORRECTMODE);
  EXPECT_EQ(found.clock.pauses, std::vector<int>{1000});
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(found.sentSinceDiscovery(), ToBytes("KV7-9", true));
  EXPECT_EQ(found.link.mode(), ModeIdle);
}

TEST(LinkModes, PassthroughAndBackToCommandMode) {
  FoundDevice found;
  EXPECT_EQ(found.link.StartGpsPassthrough(), KV7SUCCESS);
  EXPECT_EQ(found.link.mode(), ModePassthrough);
  EXPECT_EQ(found.link.ReadDeviceInfo(), KV7INCORRECTMODE);
  ASSERT_EQ(found.link.SetBaud4800(), KV7SUCCESS);

  EXPECT_EQ(found.link.ExitGpsPassthrough(), KV7SUCCESS);
  EXPECT_EQ(found.link.mode(), ModeIdle);
  EXPECT_EQ(found.peer.outputSpeed(), B115200);
  EXPECT_EQ(found.link.ExitGpsPassthrough(), KV7INCORRECTMODE);
  EXPECT_EQ(found.link.ReadDeviceInfo(), KV7INCORRECTMODE);

  EXPECT_EQ(found.link.EnterCommandMode(), KV7SUCCESS);
  EXPECT_EQ(found.link.ReadDeviceInfo(), KV7SUCCESS);
  EXPECT_EQ(found.link.mode(), ModeCommand);
  const auto texts = found.peer.texts();
  EXPECT_EQ(texts, (std::vector<std::string>{"SA-28", "KV7-g", "SA-28", "KV7-1"}));
}

TEST(LinkDisconnect, CablePulledBeforeTheEchoEndsTheCommandAsNoResponse) {
  FoundDevice found(AnswersExcept("KV7-G", {{{}, 0ms, true}}));
  StatusCode result = -1;
  const double ms = ElapsedMs([&] { result = found.link.ReadGpsVersion(); });
  EXPECT_EQ(result, KV7NORESPONSE);
  EXPECT_LT(ms, 1000.0) << "a silent line would be polled for 4.5 s";
  EXPECT_EQ(found.clock.pauses, std::vector<int>{1000}) << "no polling pauses on a gone port";
  EXPECT_TRUE(found.link.IsPortGone());

  EXPECT_EQ(found.link.ReadDeviceInfo(), KV7GETOVERLAPPEDRESULTERROR) << "nothing can be sent";
  EXPECT_EQ(found.link.EnterCommandMode(), KV7GETOVERLAPPEDRESULTERROR);
}

TEST(LinkDisconnect, CablePulledAfterTheEchoEndsTheRecordReadAsAnInvalidResponse) {
  FoundDevice found(AnswersExcept("KV7-1", {{ToBytes("KV7-1"), 0ms}, {{}, 60ms, true}}));
  StatusCode result = -1;
  const double ms = ElapsedMs([&] { result = found.link.ReadDeviceInfo(); });
  EXPECT_EQ(result, KV7INVALIDRESPONSE);
  EXPECT_LT(ms, 500.0) << "the 39-byte read would last 600 ms on a live line";
  EXPECT_TRUE(found.link.IsPortGone());
  EXPECT_EQ(found.link.batteryLevel()[0], '\0');
}

TEST(LinkTextToInt, ReadsLikeTheBatteryTextIsMeant) {
  EXPECT_EQ(DeviceLink::TextToInt("085\n"), 85);
  EXPECT_EQ(DeviceLink::TextToInt(" \t\r\n\v\f-42x"), -42);
  EXPECT_EQ(DeviceLink::TextToInt("+7"), 7);
  EXPECT_EQ(DeviceLink::TextToInt("abc"), 0);
  EXPECT_EQ(DeviceLink::TextToInt("- 5"), 0);
  EXPECT_EQ(DeviceLink::TextToInt(""), 0);
  EXPECT_EQ(DeviceLink::TextToInt(nullptr), 0);
  EXPECT_EQ(DeviceLink::TextToInt("99999999999999"), INT32_MAX);
  EXPECT_EQ(DeviceLink::TextToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(DeviceLink::TextToInt("-99999999999999"), INT32_MIN);
}

} // namespace
} // namespace quillon
