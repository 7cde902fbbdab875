#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <termios.h>
#include <thread>
#include <vector>

namespace quillon::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text, bool withZero = false);

// One answer of the peer: wait `delay`, then send `bytes`; or hang up (close the master side,
// which the link sees as a pulled cable).
struct PeerReply {
  Bytes bytes;
  std::chrono::milliseconds delay{0};
  bool hangUp = false;
};

// The far end of a real pseudo-terminal, played by the test: the link opens the slave path
// like any serial device, the peer reads and writes the master side. Used as a device it
// answers every zero-terminated text the link sends through `answer`.
class PtyPeer {
public:
  using Answer = std::function<std::vector<PeerReply>(const std::string& text)>;

  PtyPeer();
  ~PtyPeer();
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  const std::string& slavePath() const { return slavePath_; }

  // Starts answering on a thread of its own; stopServing() ends that, for direct use.
  void serve(Answer answer);
  void stopServing();
  // Everything the link wrote so far, and the zero-terminated texts in it.
  Bytes received() const;
  std::vector<std::string> texts() const;
  // Waits until at least `count` bytes were received or `limit` passed.
  bool waitForBytes(std::size_t count, std::chrono::milliseconds limit) const;

  // Direct use without serving.
  void send(const Bytes& bytes);
  Bytes readFor(std::chrono::milliseconds span);

  // Closes the master side now.
  void hangUp();
  // The line speed the link set: a pseudo-terminal pair shares one termios.
  speed_t outputSpeed() const;
  termios lineSettings() const;
  // True while some process holds the slave open.
  bool slaveHeld() const;

private:
  void run();
  void writeAll(const Bytes& bytes);

  int master_ = -1;
  std::string slavePath_;
  Answer answer_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  Bytes received_;
};

// A well-behaved Yardmark for the peer: the hello, the five echoes, the device record and
// the GPS version reply, the data `dataDelay` after the echo.
struct DeviceScript {
  std::string helloReply = "SA-77";
  std::string record =
      std::string("085") + "," + "YM-KV7 000012345" + std::string(13, '.') + "1.234" + "!";
  std::string gpsVersion = "$PASHR,VER,GPS,1.0.00";
  std::chrono::milliseconds dataDelay{80};
};
PtyPeer::Answer DeviceAnswers(DeviceScript script = {});
// A peer that reads and never answers.
PtyPeer::Answer SilentAnswers();

// Monotonic milliseconds spent by `action`.
double ElapsedMs(const std::function<void()>& action);

} // namespace quillon::testing
