#include "tests/sim/loader_host.h"

namespace quillon::sim::testing {
namespace {

TEST(GpsPassthrough, PassthroughCommandIsEchoedAndForwardsTheLine) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-g"), Bytes("KV7-g"));
  EXPECT_EQ(s.device.state(), DeviceState::Passthrough);
  // The device no longer listens: its commands now go to the GPS chip, which ignores them.
  EXPECT_TRUE(Exchange(*s.host, "SA-28").empty());
}

TEST(GpsPassthrough, ChipTalksNmeaAt4800UntilAllOff) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  ASSERT_EQ(Exchange(*s.host, "KV7-g"), Bytes("KV7-g"));
  s.host->setBaud(4800);
  const auto sentence = s.host->read(100, 200ms); // one a second, 50 ms at this scale
  ASSERT_GE(sentence.size(), 6u);
  EXPECT_EQ(std::string(sentence.begin(), sentence.begin() + 6), "$GPGGA");
  EXPECT_EQ(sentence.back(), '\n');
  s.host->send(kAllOff);
  // Without the all-off, 400 ms bring eight sentences; with it, at most one already on its way.
  EXPECT_LE(s.host->read(1000, 400ms, 400ms).size(), sentence.size());
}

TEST(GpsPassthrough, DeviceSeesTheBaudTheHostSet) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  EXPECT_EQ(s.device.lineBaud(), 115200);
  s.host->setBaud(4800);
  EXPECT_EQ(s.device.lineBaud(), 4800);
}

TEST(GpsPassthrough, GpsCommandsAt115200AreGarbageToTheChip) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  ASSERT_EQ(Exchange(*s.host, "KV7-g"), Bytes("KV7-g"));
  s.host->send(kAllOff);
  s.host->send(kUpdateFirmware);
  EXPECT_TRUE(s.host->read(1, 200ms).empty()) << "no boot loader hello";
  EXPECT_EQ(s.device.state(), DeviceState::Passthrough);
}

TEST(GpsPassthrough, UpdateCommandAt4800StartsTheBootLoader) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  StartBootLoader(s);
  EXPECT_EQ(s.device.state(), DeviceState::BootLoader);
  EXPECT_TRUE(s.host->waitFor(kHello, 300ms));
}

TEST(GpsPassthrough, BootLoaderSaysNothingUntilTheLineIs115200) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  ASSERT_EQ(Exchange(*s.host, "KV7-g"), Bytes("KV7-g"));
  s.host->setBaud(4800);
  s.host->send(kAllOff);
  s.host->send(kUpdateFirmware);
  ASSERT_TRUE(WaitUntil([&s] { return s.device.state() == DeviceState::BootLoader; }));
  EXPECT_TRUE(s.host->read(1, 100ms).empty());
  s.host->setBaud(115200);
  EXPECT_TRUE(s.host->waitFor(kHello, 300ms));
}

TEST(GpsPassthrough, HelloRepeatsUntilAnswered) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  StartBootLoader(s);
  // A hello every 250 ms scaled: 12.5 ms apart here.
  const auto hellos = s.host->read(10, 400ms, 100ms);
  EXPECT_GE(hellos.size(), 5u);
  EXPECT_EQ(hellos, std::vector<std::uint8_t>(hellos.size(), kHello));
}

TEST(GpsPassthrough, UnplugAtTheGpsCommands) {
  for (const char* step : {"unplug=allof", "unplug=update"}) {
    SCOPED_TRACE(step);
    Served s(FastOptions({step}));
    ASSERT_TRUE(s.started);
    Greet(*s.host);
    ASSERT_EQ(Exchange(*s.host, "KV7-g"), Bytes("KV7-g"));
    s.host->setBaud(4800);
    s.host->send(kAllOff);
    s.host->send(kUpdateFirmware);
    EXPECT_TRUE(s.host->sawHangUp(500ms));
  }
}

TEST(GpsPassthrough, PowerOffStopsTheBootLoaderAndPowerOnBootsTheDevice) {
  Served s(FastOptions());
  ASSERT_TRUE(s.started);
  StartBootLoader(s);
  ASSERT_TRUE(s.host->waitFor(kHello, 300ms));
  s.device.powerOff();
  s.host->purge();
  EXPECT_TRUE(s.host->read(1, 100ms).empty());
  s.device.powerOn();
  EXPECT_EQ(Exchange(*s.host, "SA-28"), Bytes("SA-77"));
}

} // namespace
} // namespace quillon::sim::testing
