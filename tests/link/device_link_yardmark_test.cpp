// The whole command side of the link against the virtual Yardmark on a pseudo-terminal: a
// peer written independently of the link, with its faults asked for by name.

#include "base/clock.h"
#include "link/device_link.h"
#include "sim/virtual_yardmark.h"
#include "tests/link/pty_peer.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::ElapsedMs;

// The device answers twenty times faster than a real one; the link's own pauses are virtual.
constexpr double kDeviceScale = 0.05;

struct Yardmark {
  explicit Yardmark(std::vector<std::string> faults = {}, Clock* linkClock = nullptr)
      : device(Options(std::move(faults))), link(linkClock ? *linkClock : clock) {
    EXPECT_TRUE(device.start()) << device.error();
    link.setCandidatePorts({"/dev/quillon-no-such-port", device.slavePath()});
  }
  static sim::YardmarkOptions Options(std::vector<std::string> faults) {
    sim::YardmarkOptions options;
    options.timeScale = kDeviceScale;
    options.faults = std::move(faults);
    return options;
  }
  sim::VirtualYardmark device;
  VirtualClock clock;
  DeviceLink link;
};

TEST(LinkWithYardmark, FindReadAndHandOverToTheBootLoader) {
  Yardmark y;
  ASSERT_EQ(y.link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(y.link.portName().data(), y.device.slavePath());
  EXPECT_EQ(y.device.state(), sim::DeviceState::Command);

  ASSERT_EQ(y.link.ReadDeviceInfo(), KV7SUCCESS);
  EXPECT_EQ(DeviceLink::TextToInt(y.link.GetBatteryLevel().c_str()), 85);
  EXPECT_STREQ(y.link.identity().data(), "YM-KV7 000012345");
  EXPECT_STREQ(y.link.applicationVersion().data(), "1.234");
  ASSERT_EQ(y.link.ReadGpsVersion(), KV7SUCCESS);
  EXPECT_STREQ(y.link.gpsVersion().data(), "$PASHR,VER,GPS,1.0.00");

  ASSERT_EQ(y.link.StartGpsPassthrough(), KV7SUCCESS);
  EXPECT_EQ(y.device.state(), sim::DeviceState::Passthrough);
  ASSERT_EQ(y.link.SetBaud4800(), KV7SUCCESS);
  EXPECT_EQ(y.device.lineBaud(), 4800);
  // The chip checks the speed of every byte it is sent: only 4800 baud starts its loader.
  ASSERT_EQ(y.link.PrepareGpsForLoad(), KV7SUCCESS);
  // A pseudo-terminal does not pace bytes: the device samples the speed when it reads them,
  // so give it the moment a real line would take before the speed goes up.
  for (int i = 0; i < 200 && y.device.state() != sim::DeviceState::BootLoader; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(y.device.state(), sim::DeviceState::BootLoader);
  ASSERT_EQ(y.link.SetBaud115200(), KV7SUCCESS);
  EXPECT_EQ(y.device.lineBaud(), 115200);
  EXPECT_EQ(y.link.ExitGpsPassthrough(), KV7SUCCESS);
  EXPECT_EQ(y.link.mode(), ModeIdle);
}

TEST(LinkWithYardmark, ShutDownLeavesTheLinkIdleAndTheDeviceOff) {
  Yardmark y;
  ASSERT_EQ(y.link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(y.link.ShutDown(), KV7SUCCESS);
  EXPECT_EQ(y.link.mode(), ModeIdle);
  EXPECT_EQ(y.device.state(), sim::DeviceState::Off);
  EXPECT_EQ(y.clock.nowMs(), 300 + 1000 + 1000);
}

TEST(LinkWithYardmark, RecordAndVersionFaultsAreInvalidResponses) {
  Yardmark shortRecord({"short-record"});
  ASSERT_EQ(shortRecord.link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(shortRecord.link.ReadDeviceInfo(), KV7INVALIDRESPONSE);
  EXPECT_EQ(shortRecord.link.applicationVersion()[0], '\0');

  Yardmark notP({"gps-not-P"});
  ASSERT_EQ(notP.link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(notP.link.ReadGpsVersion(), KV7INVALIDRESPONSE);
  EXPECT_EQ(notP.link.GetGpsVersion(), std::nullopt);
  EXPECT_EQ(notP.link.lastStatus(), KV7INVALIDGPSVERSION);

  Yardmark badEcho({"bad-echo=KV7-1"});
  ASSERT_EQ(badEcho.link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(badEcho.link.ReadDeviceInfo(), KV7INVALIDRESPONSE);
}

TEST(LinkWithYardmark, WrongHelloTenTimesIsNotFound) {
  Yardmark y({"wrong-hello"});
  EXPECT_EQ(y.link.FindDevice(), KV7NOTFOUND);
  EXPECT_FALSE(y.link.IsPortFound());
  EXPECT_EQ(y.clock.nowMs(), 300) << "one port opened, every hello answered at once";
}

TEST(LinkWithYardmark, CablePulledAtACommandEndsItPromptly) {
  Yardmark y({"unplug=KV7-G"});
  ASSERT_EQ(y.link.FindDevice(), KV7SUCCESS);
  StatusCode result = -1;
  const double ms = ElapsedMs([&] { result = y.link.ReadGpsVersion(); });
  EXPECT_EQ(result, KV7NORESPONSE);
  EXPECT_LT(ms, 1000.0);
  EXPECT_TRUE(y.link.IsPortGone());
}

TEST(LinkWithYardmark, ResetDiscardsTheChipsStartUpOutput) {
  SystemClock scaled(kDeviceScale); // the chip's chatter runs in the device's real time
  Yardmark y({"reset-chatter"}, &scaled);
  ASSERT_EQ(y.link.FindDevice(), KV7SUCCESS);
  EXPECT_EQ(y.link.ResetGps(), KV7SUCCESS);
  EXPECT_EQ(y.link.ReadGpsVersion(), KV7SUCCESS);
  EXPECT_STREQ(y.link.gpsVersion().data(), "$PASHR,VER,GPS,1.0.00");
}

} // namespace
} // namespace quillon
