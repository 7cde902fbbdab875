#include "tests/link/pty_peer.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace quillon::testing {

using namespace std::chrono_literals;

Bytes ToBytes(const std::string& text, bool withZero) {
  Bytes bytes(text.begin(), text.end());
  if (withZero)
    bytes.push_back(0);
  return bytes;
}

PtyPeer::PtyPeer() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
    throw std::runtime_error("no pseudo-terminal");
  slavePath_ = ::ptsname(master_);
  // Raw on our side too, so that every byte arrives as it was sent.
  termios settings{};
  ::tcgetattr(master_, &settings);
  ::cfmakeraw(&settings);
  ::tcsetattr(master_, TCSANOW, &settings);
}

PtyPeer::~PtyPeer() {
  hangUp();
}

void PtyPeer::serve(Answer answer) {
  answer_ = std::move(answer);
  thread_ = std::thread([this] { run(); });
}

void PtyPeer::run() {
  std::string pending;
  while (!stop_) {
    pollfd watch{master_, POLLIN, 0};
    if (::poll(&watch, 1, 10) <= 0)
      continue;
    std::uint8_t chunk[256];
    const ssize_t count = (watch.revents & POLLIN) != 0 ? ::read(master_, chunk, sizeof chunk) : -1;
    if (count <= 0) {
      std::this_thread::sleep_for(5ms); // nobody holds the slave side right now
      continue;
    }
    {
      std::lock_guard lock(mutex_);
      received_.insert(received_.end(), chunk, chunk + count);
    }
    arrived_.notify_all();
    for (ssize_t i = 0; i < count; ++i) {
      if (chunk[i] != 0) {
        pending.push_back(static_cast<char>(chunk[i]));
        continue;
      }
      for (const auto& reply : answer_(pending)) {
        std::this_thread::sleep_for(reply.delay);
        if (reply.hangUp) {
          ::close(master_);
          master_ = -1;
          return;
        }
        writeAll(reply.bytes);
      }
      pending.clear();
    }
  }
}

void PtyPeer::writeAll(const Bytes& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t count = ::write(master_, bytes.data() + sent, bytes.size() - sent);
    if (count < 0 && errno != EINTR && errno != EAGAIN)
      return;
    if (count > 0)
      sent += static_cast<std::size_t>(count);
  }
}

Bytes PtyPeer::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::vector<std::string> PtyPeer::texts() const {
  std::vector<std::string> texts;
  std::string current;
  for (const auto byte : received()) {
    if (byte == 0) {
      texts.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(byte));
    }
  }
  return texts;
}

bool PtyPeer::waitForBytes(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, limit, [&] { return received_.size() >= count; });
}

void PtyPeer::send(const Bytes& bytes) {
  writeAll(bytes);
}

Bytes PtyPeer::readFor(std::chrono::milliseconds span) {
  Bytes bytes;
  const auto end = std::chrono::steady_clock::now() + span;
  for (auto now = std::chrono::steady_clock::now(); now < end;
       now = std::chrono::steady_clock::now()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now).count();
    pollfd watch{master_, POLLIN, 0};
    if (::poll(&watch, 1, static_cast<int>(left)) <= 0)
      continue;
    std::uint8_t chunk[256];
    const ssize_t count = (watch.revents & POLLIN) != 0 ? ::read(master_, chunk, sizeof chunk) : -1;
    if (count > 0)
      bytes.insert(bytes.end(), chunk, chunk + count);
    else
      std::this_thread::sleep_for(2ms);
  }
  return bytes;
}

void PtyPeer::stopServing() {
  stop_ = true;
  if (thread_.joinable())
    thread_.join();
}

void PtyPeer::hangUp() {
  stopServing();
  if (master_ >= 0)
    ::close(master_);
  master_ = -1;
}

termios PtyPeer::lineSettings() const {
  termios settings{};
  ::tcgetattr(master_, &settings);
  return settings;
}

speed_t PtyPeer::outputSpeed() const {
  const termios settings = lineSettings();
  return ::cfgetospeed(&settings);
}

bool PtyPeer::slaveHeld() const {
  pollfd watch{master_, POLLIN, 0};
  ::poll(&watch, 1, 0);
  return (watch.revents & POLLHUP) == 0;
}

PtyPeer::Answer DeviceAnswers(DeviceScript script) {
  return [script](const std::string& text) -> std::vector<PeerReply> {
    if (text == "SA-28")
      return {{ToBytes(script.helloReply), 0ms}};
    if (text.rfind("KV7-", 0) != 0)
      return {};
    std::vector<PeerReply> replies{{ToBytes(text), 0ms}};
    if (text == "KV7-1")
      replies.push_back({ToBytes(script.record), script.dataDelay});
    else if (text == "KV7-G")
      replies.push_back({ToBytes(script.gpsVersion), script.dataDelay});
    return replies;
  };
}

PtyPeer::Answer SilentAnswers() {
  return [](const std::string&) { return std::vector<PeerReply>{}; };
}

double ElapsedMs(const std::function<void()>& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

} // namespace quillon::testing
