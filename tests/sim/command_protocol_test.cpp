#include "tests/sim/sim_fixture.h"
#include "testsupport/scratch_folder.h"

#include <string>
#include <thread>

namespace quillon::sim::testing {
namespace {

using Steady = std::chrono::steady_clock;

TEST(DeviceCommands, HelloIsAnsweredWithItsZeroByte) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started) << s.device.error();
  ASSERT_TRUE(s.host->isOpen());
  EXPECT_EQ(Exchange(*s.host, "SA-28"), Bytes("SA-77"));
  EXPECT_EQ(s.device.state(), DeviceState::Command);
}

TEST(DeviceCommands, CommandsBeforeTheHelloGoUnanswered) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  EXPECT_TRUE(Exchange(*s.host, "KV7-1").empty());
  EXPECT_EQ(s.device.state(), DeviceState::Ready);
}

TEST(DeviceCommands, DeviceRecordCarriesBatteryIdentityAndVersion) {
  YardmarkOptions options = FastOptions();
  options.battery = "072";
  options.identity = "KV7 SERIAL 00042";
  options.appVersion = "2.105";
  Served s(options);
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-1"), Bytes("KV7-1"));
  const auto record = s.host->read(39, 600ms);
  ASSERT_EQ(record.size(), 39u);
  EXPECT_EQ(std::string(record.begin(), record.begin() + 3), "072");
  EXPECT_EQ(std::string(record.begin() + 4, record.begin() + 20), "KV7 SERIAL 00042");
  EXPECT_EQ(std::string(record.begin() + 33, record.begin() + 38), "2.105");
}

TEST(DeviceCommands, GpsVersionIsPaddedToTwentyOneBytes) {
  YardmarkOptions options = FastOptions();
  options.gpsVersion = "$PASHR,VER,7.1";
  Served s(options);
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-G"), Bytes("KV7-G"));
  const auto reply = s.host->read(21, 330ms);
  ASSERT_EQ(reply.size(), 21u);
  std::vector<std::uint8_t> expected = Bytes("$PASHR,VER,7.1", false);
  expected.resize(21, 0);
  EXPECT_EQ(reply, expected);
}

// The data reply must miss the host's echo read (which would then hold more than the echo)
// and land inside its data read, which begins right after the echo read when the host's
// pauses cost nothing, however late the host comes to read the echo.
TEST(DeviceCommands, DataRepliesFallBetweenEchoReadAndDataWindow) {
  struct Case {
    const char* command;
    std::size_t size;
    std::chrono::milliseconds window;
    std::chrono::milliseconds echoReadLate; // a busy host
    std::chrono::milliseconds expectedDelay;
  };
  // At this scale the device record's 1500 ms would come before the host's echo read is over;
  // the device waits until the host has taken the echo, and 100 ms of real time more.
  for (const Case& c : {Case{"KV7-1", 39, 600ms, 0ms, 100ms}, Case{"KV7-G", 21, 330ms, 0ms, 125ms},
                        Case{"KV7-G", 21, 330ms, 300ms, 400ms}}) {
    SCOPED_TRACE(std::string(c.command) + " read " + std::to_string(c.echoReadLate.count()) +
                 " ms late");
    Served s(FastOptions());
    ASSERT_TRUE(s.started);
    Greet(*s.host);
    const auto sent = Steady::now();
    s.host->sendText(c.command);
    std::this_thread::sleep_for(c.echoReadLate);
    EXPECT_EQ(s.host->read(9, 150ms), Bytes(c.command));
    const auto echoReadEnded = Steady::now();
    const auto data = s.host->read(c.size, c.window);
    const auto dataArrived = Steady::now();
    EXPECT_EQ(data.size(), c.size);
    EXPECT_GE(dataArrived - echoReadEnded, 60ms);
    EXPECT_GE(dataArrived - sent, c.expectedDelay - 10ms);
  }
}

TEST(DeviceCommands, PowerOffSilencesTheDeviceUntilPowerOn) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  s.device.powerOff();
  EXPECT_EQ(s.device.state(), DeviceState::Off);
  EXPECT_TRUE(Exchange(*s.host, "SA-28").empty());
  s.device.powerOn();
  EXPECT_EQ(Exchange(*s.host, "SA-28"), Bytes("SA-77"));
}

TEST(DeviceCommands, PowerOffCancelsAReplyStillToCome) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-1"), Bytes("KV7-1"));
  s.device.powerOff();
  EXPECT_TRUE(s.host->read(39, 300ms).empty());
}

TEST(DeviceCommands, StartedPoweredOffTheDeviceWaitsForPower) {
  YardmarkOptions options = FastOptions();
  options.poweredOn = false;
  Served s(options);
  ASSERT_TRUE(s.started);
  EXPECT_TRUE(Exchange(*s.host, "SA-28").empty());
  s.device.powerOn();
  EXPECT_EQ(Exchange(*s.host, "SA-28"), Bytes("SA-77"));
}

TEST(DeviceCommands, ShutDownEchoesThenGoesQuiet) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-9"), Bytes("KV7-9"));
  EXPECT_EQ(s.device.state(), DeviceState::Off);
  EXPECT_TRUE(Exchange(*s.host, "SA-28").empty());
}

TEST(DeviceCommands, ResetGpsIsEchoedAndKeepsCommandMode) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-i"), Bytes("KV7-i"));
  EXPECT_EQ(s.device.state(), DeviceState::Command);
  EXPECT_TRUE(s.host->read(1, 200ms).empty()) << "no chatter unless asked for";
}

TEST(DeviceCommands, CommandsAtTheWrongBaudAreNoise) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  s.host->setBaud(4800);
  EXPECT_TRUE(Exchange(*s.host, "SA-28").empty());
  s.host->setBaud(115200);
  EXPECT_EQ(Exchange(*s.host, "SA-28"), Bytes("SA-77"));
}

TEST(DeviceCommands, GarbageBeforeAHelloDoesNotSpoilIt) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  s.host->send({0x12, 'x', 'y', 0x00});
  EXPECT_TRUE(s.host->read(1, 50ms).empty());
  EXPECT_EQ(Exchange(*s.host, "SA-28"), Bytes("SA-77"));
}

TEST(DeviceCommands, HostCanCloseAndReopenTheLine) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  s.host.reset();
  s.host = std::make_unique<LineClient>(s.device.slavePath());
  ASSERT_TRUE(s.host->isOpen());
  EXPECT_EQ(Exchange(*s.host, "SA-28"), Bytes("SA-77"));
}

TEST(DeviceCommands, UnplugIsAHangUpForTheHost) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  s.device.unplug();
  EXPECT_TRUE(s.host->sawHangUp(500ms));
  EXPECT_EQ(s.device.state(), DeviceState::Unplugged);
}

TEST(DeviceCommands, LinkPathPointsAtTheSlaveAndGoesAwayOnStop) {
  const test::ScratchFolder scratch;
  const std::string link = scratch.path("yardmark").string();
  {
    VirtualYardmark device(FastOptions());
    ASSERT_TRUE(device.start(link)) << device.error();
    LineClient host(link);
    ASSERT_TRUE(host.isOpen());
    EXPECT_EQ(Exchange(host, "SA-28"), Bytes("SA-77"));
    device.stop();
  }
  EXPECT_NE(access(link.c_str(), F_OK), 0);
}

} // namespace
} // namespace quillon::sim::testing
