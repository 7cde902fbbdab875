// The POSIX serial port: termios for the line, poll for the bounded reads and writes.
//
// The descriptor is non-blocking; every wait is a poll against an end time on the monotonic
// clock, computed once per transfer, so neither a silent line nor a signal (EINTR is retried)
// can stretch a read or a write beyond its bound. A hang-up or an I/O error means the cable
// was pulled: the port remembers it and answers every later read at once with nothing.

#include "link/device_protocol.h"
#include "link/serial_port.h"

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

  bool open(const std::string& path) override;
  bool readSettings() override;
  bool applyTimeouts() override;
  bool applyLineSettings(int baud) override;
  void close() override;
  bool isOpen() const override { return fd_ >= 0; }
  std::size_t read(std::uint8_t* buffer, std::size_t n) override;
  StatusCode write(const std::uint8_t* buffer, std::size_t n) override;
  void purgeReceive() override;
  void purgeTransmit() override;
  bool hasGone() const override { return gone_; }

private:
  void drainOutput();
  std::size_t markGone() {
    gone_ = true;
    return 0;
  }

  int fd_ = -1;
  bool gone_ = false;
  Timeouts timeouts_{};
};

bool PosixSerialPort::open(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return false;
  // Exclusive use. flock holds against every other open of the device, root's included and
  // our own process's; TIOCEXCL also keeps out programs that never ask for a lock. A file
  // that is not a terminal is not a serial port, whatever its name.
  if (::isatty(fd) == 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  gone_ = false;
  return true;
}

bool PosixSerialPort::readSettings() {
  termios settings{};
  return fd_ >= 0 && ::tcgetattr(fd_, &settings) == 0;
}

bool PosixSerialPort::applyTimeouts() {
  if (fd_ < 0)
    return false;
  timeouts_ = {kReadInterval, kReadTotal, kWriteTotal};
  return true;
}

bool PosixSerialPort::applyLineSettings(int baud) {
  const auto speed = SpeedFor(baud);
  if (fd_ < 0 || !speed)
    return false;
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
    return false;
  drainOutput();
  if (::tcsetattr(fd_, TCSANOW, &wanted) != 0)
    return false;
  // tcsetattr succeeds when any part of the request took; a driver that cannot run this baud
  // rate shows it only when the settings are read back.
  termios applied{};
  if (::tcgetattr(fd_, &applied) != 0 || ::cfgetospeed(&applied) != *speed)
    return false;
  // DTR and RTS off. A pseudo-terminal has no modem lines and says so with ENOTTY or EINVAL;
  // any other refusal is a real port that will not do what the device needs.
  const int lines = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd_, TIOCMBIC, &lines) != 0 && errno != ENOTTY && errno != EINVAL)
    return false;
  return true;
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
  gone_ = false;
}

std::size_t PosixSerialPort::read(std::uint8_t* buffer, std::size_t n) {
  if (fd_ < 0 || gone_ || n == 0)
    return 0;
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
      return 0;
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
      return markGone(); // end of file or EIO: the other end has gone
    }
    if ((watch.revents & kGoneEvents) != 0)
      return markGone();
  }
  return got;
}

StatusCode PosixSerialPort::write(const std::uint8_t* buffer, std::size_t n) {
  if (fd_ < 0 || gone_)
    return KV7GETOVERLAPPEDRESULTERROR;
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
    if (count == 0 || errno != EAGAIN) {
      if (count < 0 && errno == EIO)
        gone_ = true;
      return KV7GETOVERLAPPEDRESULTERROR;
    }
    // The output queue is full: wait for room until the write's bound.
    pollfd watch{fd_, POLLOUT, 0};
    const int ready = ::poll(&watch, 1, MsUntil(end));
    if (ready < 0 && errno != EINTR)
      return KV7GETOVERLAPPEDRESULTERROR;
    if (ready == 0)
      return KV7WAITFORSINGLEOBJECTERROR;
    if (ready > 0 && (watch.revents & kGoneEvents) != 0) {
      gone_ = true;
      return KV7GETOVERLAPPEDRESULTERROR;
    }
  }
  return KV7SUCCESS;
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
