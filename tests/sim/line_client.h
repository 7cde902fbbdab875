#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::sim::testing {

// A host written for the tests alone: raw termios on the slave, poll-timed reads. It
// shares no code with the program's serial backend, so a fault in either shows.
class LineClient {
public:
  explicit LineClient(const std::string& path);
  // Takes over a descriptor that is already open (the master of a pseudo-terminal standing
  // in for the far end of a null-modem cable), leaving its line settings alone.
  explicit LineClient(int fd) : fd_(fd) {}
  ~LineClient();
  LineClient(const LineClient&) = delete;
  LineClient& operator=(const LineClient&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  void setBaud(int baud);
  void send(const std::vector<std::uint8_t>& bytes);
  // The text and its zero byte, as the program sends its commands.
  void sendText(std::string_view text);
  // Reads until `count` bytes arrived, `gap` passed after a byte, or `total` passed.
  std::vector<std::uint8_t> read(std::size_t count, std::chrono::milliseconds total,
                                 std::chrono::milliseconds gap = std::chrono::milliseconds(25));
  // Reads until `wanted` arrives (true) or `total` passes (false); bytes before it are
  // collected in `skipped`.
  bool waitFor(std::uint8_t wanted, std::chrono::milliseconds total,
               std::vector<std::uint8_t>* skipped = nullptr);
  // True when the device's end closed within `total`.
  bool sawHangUp(std::chrono::milliseconds total);
  void purge();

private:
  int fd_ = -1;
};

std::vector<std::uint8_t> Bytes(std::string_view text, bool withZero = true);

} // namespace quillon::sim::testing
