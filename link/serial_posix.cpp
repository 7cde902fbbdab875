// The POSIX serial port: termios for the line, poll for the bounded reads and writes.
//
// The descriptor is non-blocking; every wait is a poll against an end time on the monotonic
// clock, computed once per transfer, so neither a silent line nor a signal (EINTR is retried)
// can stretch a read or a write beyond its bound. A hang-up or an I/O error means the cable
// was pulled: the port remembers it and fails every later read and write at once.

#include "link/device_protocol.h"
#include "link/serial_port.h"
#include "link/transfer_timeout.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace dp = device_protocol;
using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// What poll reports when the other end has gone or the descriptor is no longer usable.
constexpr short kGoneEvents = POLLHUP | POLLERR | POLLNVAL;

// What an errno says about the port, in the link's words.
PortFailure FailureOf(int error) {
  if (error == EBUSY || error == EWOULDBLOCK) // TIOCEXCL, or another's flock
    return {PortError::Busy, error};
  if (error == EACCES || error == EPERM)
    return {PortError::Denied, error};
  if (error == ENOENT || error == ENXIO || error == ENODEV || error == EIO)
    return {PortError::Gone, error};
  if (error == ENOMEM || error == ENOBUFS)
    return {PortError::NoResources, error};
  return {PortError::Other, error};
}

PortFailure LastFailure() {
  return FailureOf(errno);
}

std::optional<speed_t> SpeedFor(int baud) {
  if (baud == dp::kHighBaud)
    return B115200;
  if (baud == dp::kPassthroughBaud)
    return B4800;
  return std::nullopt;
}

// The read and write bounds the link runs with. Until applyTimeouts() is called they are all
// zero: a read returns what is queued and a write what fits at once.
struct Timeouts {
  milliseconds readInterval{0};
  TransferTimeout readTotal;
  TransferTimeout writeTotal;
};

class PosixSerialPort final : public SerialPort {
public:
  PosixSerialPort() = default;
  ~PosixSerialPort() override { close(); }
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  PortResult open(const std::string& path) override;
  PortResult applyTimeouts() override;
  PortResult applyLineSettings(int baud) override;
  void close() override;
  bool isOpen() const override { return fd_ >= 0; }
  ReadResult read(std::uint8_t* buffer, std::size_t n) override;
  PortResult write(const std::uint8_t* buffer, std::size_t n) override;
  void purgeReceive() override;
  void purgeTransmit() override;
  bool hasGone() const override { return gone_.has_value(); }

private:
  void drainOutput();
  PortFailure markGone(int error) {
    gone_ = PortFailure{PortError::Gone, error};
    return *gone_;
  }
  // Why nothing can be done on the port now, if that is so.
  PortResult unusable() const {
    if (fd_ < 0)
      return PortFailure{PortError::Other, EBADF};
    return gone_;
  }

  int fd_ = -1;
  // Set by a hang-up, an I/O error or an end of file, with what the system said then.
  PortResult gone_;
  Timeouts timeouts_{};
};

PortResult PosixSerialPort::open(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return LastFailure();
  // Exclusive use. flock holds against every other open of the device, root's included and
  // our own process's; TIOCEXCL also keeps out programs that never ask for a lock. A file
  // that is not a terminal is not a serial port, whatever its name (isatty says ENOTTY).
  if (::isatty(fd) == 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
    const PortFailure failure = LastFailure();
    ::close(fd);
    return failure;
  }
  fd_ = fd;
  gone_.reset();
  return {};
}

PortResult PosixSerialPort::applyTimeouts() {
  if (fd_ < 0)
    return unusable();
  timeouts_ = {kReadInterval, kReadTotal, kWriteTotal};
  return {};
}

PortResult PosixSerialPort::applyLineSettings(int baud) {
  const auto speed = SpeedFor(baud);
  if (fd_ < 0)
    return unusable();
  if (!speed)
    return PortFailure{PortError::Other, EINVAL};
  // Start from nothing, as the line is fully described here: raw bytes (NUL included, since
  // every command goes out with its zero byte), 8 data bits, no parity, one stop bit, no
  // hardware or software flow control, the modem lines ignored, reads answered by poll.
  termios wanted{};
  ::cfmakeraw(&wanted);
  wanted.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
  wanted.c_cflag |= CS8 | CLOCAL | CREAD;
  wanted.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  wanted.c_cc[VMIN] = 0;
  wanted.c_cc[VTIME] = 0;
  if (::cfsetispeed(&wanted, *speed) != 0 || ::cfsetospeed(&wanted, *speed) != 0)
    return LastFailure();
  drainOutput();
  if (::tcsetattr(fd_, TCSANOW, &wanted) != 0)
    return LastFailure();
  // tcsetattr succeeds when any part of the request took; a driver that cannot run this baud
  // rate shows it only when the settings are read back.
  termios applied{};
  if (::tcgetattr(fd_, &applied) != 0)
    return LastFailure();
  if (::cfgetospeed(&applied) != *speed)
    return PortFailure{PortError::Other, EINVAL};
  // DTR and RTS off. A pseudo-terminal has no modem lines and says so with ENOTTY or EINVAL;
  // any other refusal is a real port that will not do what the device needs.
  const int lines = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd_, TIOCMBIC, &lines) != 0 && errno != ENOTTY && errno != EINVAL)
    return LastFailure();
  return {};
}

// A write completes when the driver has taken the bytes, not when they have left the UART.
// Changing the speed under bytes still queued would garble them (the last bytes of the GPS
// chip's update command go out at 4800 baud right before the switch to 115200), so wait for
// the queue to empty first, but no longer than those bytes' own write bound: tcdrain has no
// bound and could hang on an adapter that stopped sending.
void PosixSerialPort::drainOutput() {
  int queued = 0;
  if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0)
    return;
  const auto end = timeouts_.writeTotal.deadlineFor(static_cast<std::size_t>(queued));
  constexpr int kDrainPollMs = 1;
  while (::ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0 && SteadyClock::now() < end)
    ::poll(nullptr, 0, kDrainPollMs);
}

void PosixSerialPort::close() {
  if (fd_ < 0)
    return;
  // Give up exclusivity explicitly: when someone else still holds the device (the virtual
  // Yardmark keeps its side open) the terminal lives on and would stay barred.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
  gone_.reset();
}

ReadResult PosixSerialPort::read(std::uint8_t* buffer, std::size_t n) {
  if (const PortResult failure = unusable())
    return {0, failure};
  if (n == 0)
    return {};
  const auto totalEnd = timeouts_.readTotal.deadlineFor(n);
  // The interval timer starts with the first byte, as on the device's own side of the cable.
  std::optional<SteadyClock::time_point> lastByte;
  std::size_t got = 0;
  while (got < n) {
    const auto end = lastByte ? std::min(totalEnd, *lastByte + timeouts_.readInterval) : totalEnd;
    pollfd watch{fd_, POLLIN, 0};
    const int ready = ::poll(&watch, 1, MsUntil(end));
    if (ready < 0) {
      if (errno == EINTR)
        continue;
      return {0, LastFailure()};
    }
    if (ready == 0)
      break; // the gap or the total time ran out
    if ((watch.revents & POLLIN) != 0) {
      const ssize_t count = ::read(fd_, buffer + got, n - got);
      if (count > 0) {
        got += static_cast<std::size_t>(count);
        lastByte = SteadyClock::now();
        continue;
      }
      if (count < 0 && (errno == EINTR || errno == EAGAIN))
        continue;
      // End of file or EIO: the other end has gone. Bytes read before it are not kept, as
      // nothing can answer them.
      return {0, markGone(count < 0 ? errno : 0)};
    }
    if ((watch.revents & kGoneEvents) != 0)
      return {0, markGone(0)};
  }
  return {got, {}};
}

PortResult PosixSerialPort::write(const std::uint8_t* buffer, std::size_t n) {
  if (const PortResult failure = unusable())
    return failure;
  const auto end = timeouts_.writeTotal.deadlineFor(n);
  std::size_t sent = 0;
  while (sent < n) {
    const ssize_t count = ::write(fd_, buffer + sent, n - sent);
    if (count > 0) {
      sent += static_cast<std::size_t>(count);
      continue;
    }
    if (count < 0 && errno == EINTR)
      continue;
    if (count == 0)
      return PortFailure{PortError::Other, 0};
    if (errno != EAGAIN)
      return errno == EIO ? markGone(EIO) : LastFailure();
    // The output queue is full: wait for room until the write's bound.
    pollfd watch{fd_, POLLOUT, 0};
    const int ready = ::poll(&watch, 1, MsUntil(end));
    if (ready < 0 && errno != EINTR)
      return LastFailure();
    if (ready == 0)
      return PortFailure{PortError::TimedOut, 0};
    if (ready > 0 && (watch.revents & kGoneEvents) != 0)
      return markGone(0);
  }
  return {};
}

void PosixSerialPort::purgeReceive() {
  if (fd_ >= 0)
    ::tcflush(fd_, TCIFLUSH);
}

void PosixSerialPort::purgeTransmit() {
  if (fd_ >= 0)
    ::tcflush(fd_, TCOFLUSH);
}

} // namespace

std::unique_ptr<SerialPort> MakePlatformSerialPort() {
  return std::make_unique<PosixSerialPort>();
}

} // namespace quillon
