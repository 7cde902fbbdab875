#include "tests/sim/sim_fixture.h"

#include <string>

namespace quillon::sim::testing {
namespace {

TEST(DeviceCommandFaults, SilentDeviceAnswersNothing) {
  Served s(FastOptions({"silent"}));
  ASSERT_TRUE(s.started);
  EXPECT_TRUE(Exchange(*s.host, "SA-28").empty());
}

TEST(DeviceCommandFaults, WrongHelloReplyIsSA78) {
  Served s(FastOptions({"wrong-hello"}));
  ASSERT_TRUE(s.started);
  EXPECT_EQ(Exchange(*s.host, "SA-28"), Bytes("SA-78"));
}

TEST(DeviceCommandFaults, NoEchoHitsOnlyTheNamedCommand) {
  Served s(FastOptions({"no-echo=KV7-G"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_TRUE(Exchange(*s.host, "KV7-G").empty());
  EXPECT_TRUE(s.host->read(21, 330ms).empty()) << "no data without the echo either";
  EXPECT_EQ(Exchange(*s.host, "KV7-1"), Bytes("KV7-1"));
}

TEST(DeviceCommandFaults, BadEchoChangesTheLastCharacter) {
  Served s(FastOptions({"bad-echo=KV7-1"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-1"), Bytes("KV7-2"));
}

TEST(DeviceCommandFaults, ShortRecordHasThirtyEightBytes) {
  Served s(FastOptions({"short-record"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-1"), Bytes("KV7-1"));
  EXPECT_EQ(s.host->read(39, 600ms).size(), 38u);
}

TEST(DeviceCommandFaults, GpsNotPStartsTheReplyWithDollarG) {
  Served s(FastOptions({"gps-not-P"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-G"), Bytes("KV7-G"));
  const auto reply = s.host->read(21, 330ms);
  ASSERT_EQ(reply.size(), 21u);
  EXPECT_EQ(reply[0], '$');
  EXPECT_EQ(reply[1], 'G');
}

TEST(DeviceCommandFaults, GpsUnreadableUntilTheChipIsReset) {
  Served s(FastOptions({"gps-unreadable-until-reset"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-G"), Bytes("KV7-G"));
  EXPECT_TRUE(s.host->read(21, 330ms).empty());
  EXPECT_EQ(Exchange(*s.host, "KV7-i"), Bytes("KV7-i"));
  EXPECT_EQ(Exchange(*s.host, "KV7-G"), Bytes("KV7-G"));
  EXPECT_EQ(s.host->read(21, 330ms).size(), 21u);
}

TEST(DeviceCommandFaults, ResetRefusedGetsNoEcho) {
  Served s(FastOptions({"reset-refused"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_TRUE(Exchange(*s.host, "KV7-i").empty());
}

TEST(DeviceCommandFaults, PassthroughRefusedKeepsCommandMode) {
  Served s(FastOptions({"passthrough-refused"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_TRUE(Exchange(*s.host, "KV7-g").empty());
  EXPECT_EQ(s.device.state(), DeviceState::Command);
  EXPECT_EQ(Exchange(*s.host, "KV7-1"), Bytes("KV7-1"));
}

TEST(DeviceCommandFaults, ResetChatterSendsNmeaAndStopsAtTheNextCommand) {
  Served s(FastOptions({"reset-chatter"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  EXPECT_EQ(Exchange(*s.host, "KV7-i"), Bytes("KV7-i"));
  const auto chatter = s.host->read(200, 300ms);
  ASSERT_FALSE(chatter.empty());
  EXPECT_EQ(chatter[0], '$');
  s.host->purge();
  EXPECT_EQ(Exchange(*s.host, "KV7-1"), Bytes("KV7-1"));
  EXPECT_EQ(s.host->read(39, 600ms).size(), 39u) << "nothing but the record after the command";
}

TEST(DeviceCommandFaults, UnplugAtACommandHangsUpInsteadOfAnswering) {
  Served s(FastOptions({"unplug=KV7-1"}));
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  s.host->sendText("KV7-1");
  EXPECT_TRUE(s.host->sawHangUp(500ms));
  EXPECT_EQ(s.device.state(), DeviceState::Unplugged);
}

TEST(DeviceCommandFaults, UnplugAtTheHello) {
  Served s(FastOptions({"unplug=hello"}));
  ASSERT_TRUE(s.started);
  s.host->sendText("SA-28");
  EXPECT_TRUE(s.host->sawHangUp(500ms));
}

TEST(DeviceCommandFaults, ValidateRefusesUnknownFaultsAndBadArguments) {
  for (const char* bad : {"wobble", "no-echo=KV7-X", "no-echo", "fail=0", "fail=x", "silent=1",
                          "unplug=record:", "silent-at=nowhere:1", "silent-at=record:-2"}) {
    SCOPED_TRACE(bad);
    YardmarkOptions options;
    options.faults = {bad};
    EXPECT_FALSE(VirtualYardmark::Validate(options).empty());
  }
  YardmarkOptions good;
  good.faults = {"no-echo=KV7-g",      "fail=3",       "unplug=record:2",
                 "silent-at=prog:1.5", "unplug=allof", "corrupt=1"};
  EXPECT_EQ(VirtualYardmark::Validate(good), "");
}

TEST(DeviceCommandFaults, StartRefusesWhatValidateRefuses) {
  VirtualYardmark device(FastOptions({"wobble"}));
  EXPECT_FALSE(device.start());
  EXPECT_NE(device.error().find("wobble"), std::string::npos);
}

TEST(DeviceCommandFaults, HelpNamesEveryFault) {
  const std::string help = VirtualYardmark::FaultHelp();
  // clang-format off
  for (const char* name :
       {"silent", "wrong-hello", "no-echo=CMD", "bad-echo=CMD", "short-record", "gps-not-P",
        "gps-unreadable-until-reset", "reset-refused", "passthrough-refused", "unplug=STEP",
        "resend=N", "fail=N", "reset=N", "debug1=N", "debug2=N", "bad-type", "bad-cmd",
        "refuse-erase", "silent-at=STATE:SECONDS", "corrupt=N", "restart=N"})
    // clang-format on
    EXPECT_NE(help.find(name), std::string::npos) << name;
}

TEST(DeviceOptions, ValidateRefusesFieldsOfTheWrongSize) {
  YardmarkOptions options;
  EXPECT_EQ(VirtualYardmark::Validate(options), "");
  options.battery = "85";
  EXPECT_NE(VirtualYardmark::Validate(options), "");
  options = {};
  options.identity = "short";
  EXPECT_NE(VirtualYardmark::Validate(options), "");
  options = {};
  options.gpsVersion = std::string(22, 'x');
  EXPECT_NE(VirtualYardmark::Validate(options), "");
  options = {};
  options.timeScale = 0;
  EXPECT_NE(VirtualYardmark::Validate(options), "");
  options = {};
  options.firmwarePath = "/nonexistent/firmware.mot";
  EXPECT_NE(VirtualYardmark::Validate(options), "");
}

} // namespace
} // namespace quillon::sim::testing
