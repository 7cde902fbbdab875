// The POSIX serial backend against real pseudo-terminals: exclusive open, the line settings
// the other end sees, bounded reads and writes, and a pulled cable.

#include "link/serial_port.h"
#include "tests/link/pty_peer.h"
#include "testsupport/scratch_folder.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::ElapsedMs;
using testing::PtyPeer;
using testing::ToBytes;

std::unique_ptr<SerialPort> OpenConfigured(const std::string& path, int baud = 115200) {
  auto port = MakePlatformSerialPort();
  EXPECT_EQ(port->open(path), std::nullopt);
  EXPECT_EQ(port->applyTimeouts(), std::nullopt);
  EXPECT_EQ(port->applyLineSettings(baud), std::nullopt);
  return port;
}

PortError ErrorOf(const PortResult& result) {
  EXPECT_TRUE(result.has_value()) << "the operation did not fail";
  return result ? result->error : PortError::Other;
}

TEST(SerialPosixOpen, AMissingPathIsGoneAndAFileThatIsNoTerminalIsRefused) {
  auto port = MakePlatformSerialPort();
  EXPECT_EQ(port->open("/dev/quillon-no-such-port"), (PortFailure{PortError::Gone, ENOENT}));
  EXPECT_FALSE(port->isOpen());

  const test::ScratchFolder scratch;
  const std::string name = scratch.path("not-a-tty").string();
  std::ofstream{name} << "a file";
  EXPECT_EQ(port->open(name), (PortFailure{PortError::Other, ENOTTY}));
}

TEST(SerialPosixOpen, APortHeldInThisProcessOrAnotherIsBusyUntilClosed) {
  PtyPeer peer;
  auto first = MakePlatformSerialPort();
  ASSERT_EQ(first->open(peer.slavePath()), std::nullopt);

  // We run as root in CI: the lock must hold even where TIOCEXCL is waived.
  auto second = MakePlatformSerialPort();
  EXPECT_EQ(ErrorOf(second->open(peer.slavePath())), PortError::Busy);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto other = MakePlatformSerialPort();
    const PortResult failure = other->open(peer.slavePath());
    ::_exit(failure && failure->error == PortError::Busy ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "another process opened a port held by us";

  first->close();
  EXPECT_EQ(second->open(peer.slavePath()), std::nullopt);
}

TEST(SerialPosixLine, RawEightNOneAtTheBaudRateTheOtherEndSees) {
  PtyPeer peer;
  auto port = OpenConfigured(peer.slavePath());
  termios line = peer.lineSettings();
  EXPECT_EQ(::cfgetospeed(&line), B115200);
  EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);

  EXPECT_EQ(port->applyLineSettings(4800), std::nullopt);
  EXPECT_EQ(peer.outputSpeed(), B4800);
  EXPECT_NE(port->applyLineSettings(9600), std::nullopt) << "only the two speeds the device uses";
  EXPECT_EQ(peer.outputSpeed(), B4800);
}

TEST(SerialPosixTransfer, ZeroBytesAndLineEndsCrossUnchangedBothWays) {
  PtyPeer peer;
  auto port = OpenConfigured(peer.slavePath());
  const Bytes outgoing{'K', 0, '\r', '\n', 0x11, 0x13, 0xFF, 0};
  EXPECT_EQ(port->write(outgoing.data(), outgoing.size()), std::nullopt);
  EXPECT_EQ(peer.readFor(100ms), outgoing);

  peer.send(outgoing);
  Bytes incoming(outgoing.size());
  EXPECT_EQ(port->read(incoming.data(), incoming.size()).count, outgoing.size());
  EXPECT_EQ(incoming, outgoing);
}

TEST(SerialPosixTransfer, SilentReadEndsAtItsTotalTimeWithNothingAndNoFailure) {
  PtyPeer peer;
  auto port = OpenConfigured(peer.slavePath());
  Bytes buffer(8);
  ReadResult got{99, {}};
  const double ms = ElapsedMs([&] { got = port->read(buffer.data(), buffer.size()); });
  EXPECT_EQ(got.count, 0u);
  EXPECT_EQ(got.failure, std::nullopt);
  EXPECT_GE(ms, 134.0); // 15 + 15 x 8
  EXPECT_LT(ms, 170.0);
}

TEST(SerialPosixTransfer, ReadEndsAtAGapAfterTheLastByte) {
  PtyPeer peer;
  auto port = OpenConfigured(peer.slavePath());
  peer.send(ToBytes("SA-"));
  Bytes buffer(39); // a long read would last 600 ms
  std::size_t got = 0;
  const double ms = ElapsedMs([&] { got = port->read(buffer.data(), buffer.size()).count; });
  EXPECT_EQ(got, 3u);
  EXPECT_GE(ms, 24.0);
  EXPECT_LT(ms, 90.0);
}

TEST(SerialPosixTransfer, PurgeReceiveDiscardsWhatArrived) {
  PtyPeer peer;
  auto port = OpenConfigured(peer.slavePath());
  peer.send(ToBytes("stale"));
  std::this_thread::sleep_for(20ms);
  port->purgeReceive();
  peer.send(ToBytes("fresh"));
  Bytes buffer(9);
  ASSERT_EQ(port->read(buffer.data(), buffer.size()).count, 5u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 5), ToBytes("fresh"));
}

TEST(SerialPosixTransfer, WriteThatCannotDrainTimesOutAtItsBound) {
  PtyPeer peer; // never reads: the queue fills and stays full
  auto port = OpenConfigured(peer.slavePath());
  const Bytes block(16, 0x55); // each write bounded by 15 + 15 x 16 ms
  PortResult result;
  int writes = 0;
  while (!result && writes < 100000) {
    result = port->write(block.data(), block.size());
    ++writes;
  }
  EXPECT_EQ(ErrorOf(result), PortError::TimedOut);
  EXPECT_GT(writes, 1) << "an empty queue took nothing";
}

TEST(SerialPosixDisconnect, APulledCableFailsReadsAtOnceAndWritesAsGone) {
  auto peer = std::make_unique<PtyPeer>();
  auto port = OpenConfigured(peer->slavePath());
  std::thread puller([&] {
    std::this_thread::sleep_for(50ms);
    peer->hangUp();
  });
  Bytes buffer(39);
  ReadResult got{99, {}};
  const double ms = ElapsedMs([&] { got = port->read(buffer.data(), buffer.size()); });
  puller.join();
  EXPECT_EQ(got.count, 0u);
  EXPECT_EQ(ErrorOf(got.failure), PortError::Gone);
  EXPECT_LT(ms, 300.0) << "a 39-byte read on a live line lasts 600 ms";
  EXPECT_TRUE(port->hasGone());

  // Remembered: the next read does not wait at all, and nothing can be written.
  EXPECT_LT(ElapsedMs([&] { got = port->read(buffer.data(), buffer.size()); }), 5.0);
  EXPECT_EQ(ErrorOf(got.failure), PortError::Gone);
  const std::uint8_t byte = 0x24;
  EXPECT_EQ(ErrorOf(port->write(&byte, 1)), PortError::Gone);

  port->close();
  EXPECT_FALSE(port->hasGone());
}

} // namespace
} // namespace quillon
