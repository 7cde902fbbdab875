#include "sim/serial_line.h"

#include "sim/line_speed.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace quillon::sim {

namespace {

struct SpeedEntry {
  speed_t speed;
  int baud;
};
constexpr SpeedEntry kSpeeds[] = {{B1200, 1200},   {B2400, 2400},     {B4800, 4800},
                                  {B9600, 9600},   {B19200, 19200},   {B38400, 38400},
                                  {B57600, 57600}, {B115200, 115200}, {B230400, 230400}};

speed_t SpeedOf(int baud) {
  for (const auto& entry : kSpeeds)
    if (entry.baud == baud)
      return entry.speed;
  return B115200;
}

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

bool MakeRaw(int fd, int baud) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0)
    return false;
  cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  cfsetispeed(&settings, SpeedOf(baud));
  cfsetospeed(&settings, SpeedOf(baud));
  return tcsetattr(fd, TCSANOW, &settings) == 0;
}

// Points linkPath at target, replacing an older symbolic link but never any other file.
bool PlaceLink(const std::string& linkPath, const std::string& target, std::string& error) {
  struct stat info {};
  if (lstat(linkPath.c_str(), &info) == 0) {
    if (!S_ISLNK(info.st_mode)) {
      error = linkPath + ": exists and is not a symbolic link";
      return false;
    }
    unlink(linkPath.c_str());
  }
  if (symlink(target.c_str(), linkPath.c_str()) != 0) {
    error = SystemError(linkPath);
    return false;
  }
  return true;
}

// The rate itself when the device knows it; 0 (garbage to its UART) otherwise.
int KnownBaud(int baud) {
  for (const auto& entry : kSpeeds)
    if (entry.baud == baud)
      return baud;
  return 0;
}

} // namespace

std::unique_ptr<SerialLine> SerialLine::OpenPty(const std::string& linkPath, std::string& error) {
  std::unique_ptr<SerialLine> line(new SerialLine());
  line->pty_ = true;
  line->fd_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (line->fd_ < 0) {
    error = SystemError("posix_openpt");
    return nullptr;
  }
  fcntl(line->fd_, F_SETFD, FD_CLOEXEC);
  fcntl(line->fd_, F_SETFL, fcntl(line->fd_, F_GETFL) | O_NONBLOCK);
  char name[PATH_MAX] = {};
  if (grantpt(line->fd_) != 0 || unlockpt(line->fd_) != 0 ||
      ptsname_r(line->fd_, name, sizeof name) != 0) {
    error = SystemError("pseudo-terminal");
    return nullptr;
  }
  line->hostPath_ = name;
  // Raw at once: the host may open the slave before it sets anything, and a cooked line
  // would swallow the zero bytes every command ends with.
  if (!MakeRaw(line->fd_, 115200)) {
    error = SystemError("tcsetattr");
    return nullptr;
  }
  line->slaveKeeper_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (line->slaveKeeper_ < 0) {
    error = SystemError(line->hostPath_);
    return nullptr;
  }
  if (!linkPath.empty()) {
    if (!PlaceLink(linkPath, line->hostPath_, error))
      return nullptr;
    line->linkPath_ = linkPath;
  }
  return line;
}

std::unique_ptr<SerialLine> SerialLine::OpenPort(const std::string& devicePath,
                                                 std::string& error) {
  std::unique_ptr<SerialLine> line(new SerialLine());
  line->fd_ = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (line->fd_ < 0) {
    error = SystemError(devicePath);
    return nullptr;
  }
  if (!MakeRaw(line->fd_, 115200)) {
    error = SystemError(devicePath);
    return nullptr;
  }
  line->hostPath_ = devicePath;
  return line;
}

SerialLine::~SerialLine() {
  hangUp();
}

int SerialLine::baud() const {
  if (!pty_ || fd_ < 0)
    return lastBaud_;
  const int speed = LineSpeedOf(fd_);
  return speed < 0 ? lastBaud_ : KnownBaud(speed);
}

void SerialLine::listenAt(int baud) {
  lastBaud_ = baud;
  if (pty_ || fd_ < 0)
    return;
  termios settings{};
  if (tcgetattr(fd_, &settings) != 0)
    return;
  cfsetispeed(&settings, SpeedOf(baud));
  cfsetospeed(&settings, SpeedOf(baud));
  tcsetattr(fd_, TCSADRAIN, &settings);
}

std::size_t SerialLine::unreadByHost() const {
  int queued = 0;
  if (!pty_ || slaveKeeper_ < 0 || ioctl(slaveKeeper_, FIONREAD, &queued) != 0 || queued < 0)
    return 0;
  return static_cast<std::size_t>(queued);
}

void SerialLine::hangUp() {
  if (fd_ >= 0) {
    if (pty_)
      lastBaud_ = baud();
    close(fd_);
  }
  if (slaveKeeper_ >= 0)
    close(slaveKeeper_);
  fd_ = -1;
  slaveKeeper_ = -1;
  // The link goes with the cable, as a pulled USB adapter's device node does: a host that
  // tries the link again finds no port, never a pseudo-terminal that now serves someone else
  // under the same number.
  if (!linkPath_.empty()) {
    char target[PATH_MAX] = {};
    const auto length = readlink(linkPath_.c_str(), target, sizeof target - 1);
    if (length > 0 && hostPath_ == std::string(target, static_cast<std::size_t>(length)))
      unlink(linkPath_.c_str());
    linkPath_.clear();
  }
}

ssize_t SerialLine::readSome(std::uint8_t* buffer, std::size_t size) {
  return fd_ < 0 ? -1 : read(fd_, buffer, size);
}

ssize_t SerialLine::writeSome(const std::uint8_t* buffer, std::size_t size) {
  return fd_ < 0 ? -1 : write(fd_, buffer, size);
}

} // namespace quillon::sim
