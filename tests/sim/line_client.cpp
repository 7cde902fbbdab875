#include "tests/sim/line_client.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace quillon::sim::testing {

namespace {
using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}
} // namespace

LineClient::LineClient(const std::string& path) {
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ >= 0)
    setBaud(115200);
}

LineClient::~LineClient() {
  if (fd_ >= 0)
    close(fd_);
}

void LineClient::setBaud(int baud) {
  termios settings{};
  tcgetattr(fd_, &settings);
  cfmakeraw(&settings);
  const speed_t speed = baud == 4800 ? B4800 : baud == 9600 ? B9600 : B115200;
  cfsetispeed(&settings, speed);
  cfsetospeed(&settings, speed);
  tcsetattr(fd_, TCSANOW, &settings);
}

void LineClient::send(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno != EAGAIN)
      return; // the other end is gone
    if (n <= 0) {
      pollfd p{fd_, POLLOUT, 0};
      if (poll(&p, 1, 100) <= 0 || (p.revents & (POLLHUP | POLLERR)))
        return;
      continue;
    }
    done += static_cast<std::size_t>(n);
  }
}

void LineClient::sendText(std::string_view text) {
  send(Bytes(text));
}

std::vector<std::uint8_t> LineClient::read(std::size_t count, std::chrono::milliseconds total,
                                           std::chrono::milliseconds gap) {
  std::vector<std::uint8_t> got;
  const auto end = Clock::now() + total;
  while (got.size() < count) {
    int wait = RemainingMs(end);
    if (!got.empty())
      wait = std::min(wait, static_cast<int>(gap.count()));
    pollfd p{fd_, POLLIN, 0};
    if (wait <= 0 || poll(&p, 1, wait) <= 0 || !(p.revents & POLLIN))
      break;
    std::uint8_t buffer[4096];
    const auto n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
    if (n <= 0)
      break;
    got.insert(got.end(), buffer, buffer + n);
  }
  return got;
}

bool LineClient::waitFor(std::uint8_t wanted, std::chrono::milliseconds total,
                         std::vector<std::uint8_t>* skipped) {
  const auto end = Clock::now() + total;
  while (RemainingMs(end) > 0) {
    const auto got = read(1, std::chrono::milliseconds(RemainingMs(end)));
    if (got.empty())
      return false;
    if (got[0] == wanted)
      return true;
    if (skipped)
      skipped->push_back(got[0]);
  }
  return false;
}

bool LineClient::sawHangUp(std::chrono::milliseconds total) {
  const auto end = Clock::now() + total;
  while (RemainingMs(end) > 0) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, RemainingMs(end)) <= 0)
      return false;
    if (p.revents & (POLLHUP | POLLERR))
      return true;
    std::uint8_t buffer[256];
    if (::read(fd_, buffer, sizeof buffer) <= 0)
      return true; // end of file or EIO: the other end is gone
  }
  return false;
}

void LineClient::purge() {
  tcflush(fd_, TCIOFLUSH);
}

std::vector<std::uint8_t> Bytes(std::string_view text, bool withZero) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  if (withZero)
    bytes.push_back(0);
  return bytes;
}

} // namespace quillon::sim::testing
