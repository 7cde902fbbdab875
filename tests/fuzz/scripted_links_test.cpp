// The fuzzers' stand-ins for the wire: how they turn input bytes into replies, silences,
// faults and clock jumps, and the mode rules the device link's fuzzer holds the link to.

#include "fuzz/input_reader.h"
#include "fuzz/link_expectations.h"
#include "fuzz/replay_serial_port.h"
#include "fuzz/scripted_boot_loader.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace quillon::fuzz {
namespace {

TEST(InputReader, TakesBoundedValuesAndRunsDry) {
  const std::uint8_t data[] = {7, 0x01, 0x2C, 'a', 'b', 'c'};
  InputReader input(data, sizeof data);
  EXPECT_EQ(input.upTo(3), 3U);     // 7 % 4, from one byte
  EXPECT_EQ(input.upTo(600), 300U); // 0x012C, from two bytes
  EXPECT_EQ(input.text(5), "abc");  // only what is left
  EXPECT_EQ(input.byte(), 0);
  EXPECT_EQ(input.upTo(UINT32_MAX), 0U);
  EXPECT_TRUE(input.rest().empty());
}

TEST(ReplayPort, EachReadTakesOnePacket) {
  ReplayScript script({}, {3, 'S', 'A', '-', 0, 4, 1, 2, 3, 4, 9, 'x'});
  ReplaySerialPort port(script);
  ASSERT_EQ(port.open("/dev/ttyFUZZ0"), std::nullopt);
  std::array<std::uint8_t, 9> buffer{};
  EXPECT_EQ(port.read(buffer.data(), 9).count, 3U);
  EXPECT_EQ(buffer[2], '-');
  const ReadResult silent = port.read(buffer.data(), 9);
  EXPECT_EQ(silent.count, 0U) << "a packet of length 0 is a silent read";
  EXPECT_FALSE(silent.failure) << "silence is no failure";
  EXPECT_EQ(port.read(buffer.data(), 2).count, 2U) << "a read takes no more than it asks for";
  EXPECT_EQ(script.lastRead(), (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(port.read(buffer.data(), 9).count, 1U) << "a packet cut short by the input's end";
  EXPECT_EQ(port.read(buffer.data(), 9).count, 0U);
  EXPECT_EQ(script.reads(), 5U);
}

TEST(ReplayPort, FaultBytesFailTheCallsInTurn) {
  ReplayScript script({1, 0, 0, 1, 2, 3, 0, 7}, {});
  ReplaySerialPort port(script);
  EXPECT_NE(port.open("/dev/ttyFUZZ0"), std::nullopt);
  EXPECT_EQ(port.open("/dev/ttyFUZZ0"), std::nullopt);
  EXPECT_EQ(port.applyTimeouts(), std::nullopt);
  const std::uint8_t byte = 0x55;
  const auto writeError = [&] {
    const PortResult failure = port.write(&byte, 1);
    return failure ? failure->error : PortError::Busy;
  };
  EXPECT_EQ(writeError(), PortError::Other);
  EXPECT_EQ(writeError(), PortError::TimedOut);
  EXPECT_EQ(writeError(), PortError::NoResources);
  EXPECT_FALSE(port.hasGone());
  EXPECT_TRUE(port.hasGone());
  EXPECT_TRUE(port.hasGone()) << "a pulled cable stays pulled";
  EXPECT_EQ(port.write(&byte, 1), std::nullopt) << "a spent fault stream fails nothing";
}

TEST(ScriptedBootLoader, EscapesMakeSilenceAndClockJumps) {
  const std::vector<std::uint8_t> script{0xAA, 0xFC, 0xFC, 0xFC, 0x03, 0x55};
  VirtualClock clock;
  int reads = 0;
  ScriptedBootLoader link(
      script.data(), script.size(), true, clock,
      [&reads](ScriptedBootLoader::Call call, const std::uint8_t*, std::size_t) {
        reads += call == ScriptedBootLoader::Call::ReadByte ? 1 : 0;
      });
  int byte = 0;
  EXPECT_EQ(link.ReadByte(byte), KV7SUCCESS);
  EXPECT_EQ(byte, 0xAA);
  EXPECT_EQ(link.ReadByte(byte), KV7SUCCESS);
  EXPECT_EQ(byte, 0xFC) << "FC FC is the reply FC";
  EXPECT_EQ(link.ReadByte(byte), KV7INVALIDRESPONSE);
  EXPECT_EQ(byte, -3);
  EXPECT_EQ(clock.nowMs(), 3 * 30 + 3000);
  EXPECT_EQ(link.ReadByte(byte), KV7SUCCESS);
  EXPECT_EQ(byte, 0x55);
  EXPECT_TRUE(link.exhausted());
  EXPECT_EQ(link.ReadByte(byte), KV7INVALIDRESPONSE);
  EXPECT_EQ(clock.nowMs(), 5 * 30 + 3000 + 1000) << "a spent script is a second of silence";
  EXPECT_EQ(reads, 5);
}

TEST(LinkExpectations, ModeMachineRules) {
  const ModeStep refusedHello = expectedMode(LinkOp::EnterCommandMode, ModeInitial, false, 2);
  EXPECT_FALSE(refusedHello.successAllowed);
  EXPECT_EQ(refusedHello.after, ModeInitial);
  EXPECT_TRUE(expectedMode(LinkOp::EnterCommandMode, ModePassthrough, true, 0).successAllowed);
  EXPECT_FALSE(expectedMode(LinkOp::EnterCommandMode, ModePassthrough, false, 0).successAllowed);
  EXPECT_EQ(expectedMode(LinkOp::FindDevice, ModeCommand, true, 2).after, ModeIdle);
  EXPECT_EQ(expectedMode(LinkOp::StartGpsPassthrough, ModeCommand, true, 0).after, ModePassthrough);
  EXPECT_EQ(expectedMode(LinkOp::ExitGpsPassthrough, ModePassthrough, true, 29).after,
            ModePassthrough);
  EXPECT_FALSE(expectedMode(LinkOp::SetBaud4800, ModeCommand, true, 0).successAllowed);
}

TEST(LinkExpectations, OnlyDocumentedCodes) {
  EXPECT_TRUE(isDocumentedResult(LinkOp::ReadDeviceInfo, KV7EVENTNOTCREATED));
  EXPECT_FALSE(isDocumentedResult(LinkOp::ReadDeviceInfo, KV7SETCOMSTATEERROR));
  EXPECT_TRUE(isDocumentedResult(LinkOp::PrepareGpsForLoad, KV7GPSALLOFFNOTSENT));
  EXPECT_FALSE(isDocumentedResult(LinkOp::SetBaud4800, KV7INVALIDHANDLEVALUE));
  EXPECT_FALSE(isDocumentedResult(LinkOp::ReadByte, KV7NORESPONSE));
}

} // namespace
} // namespace quillon::fuzz
