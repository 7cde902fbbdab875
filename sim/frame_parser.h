#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillon::sim {

// How a frame from the host ended.
enum class FrameCheck { Good, BadChecksum, NoEndMarker, BadLength };

struct Frame {
  FrameCheck check = FrameCheck::Good;
  std::vector<std::uint8_t> payload; // 2 x LEN bytes when the frame was read to its end
};

// Reassembles the host's frames, 5B LEN(2, words, big-endian) payload checksum(2) 5D, from
// the byte stream, and checks them. The checksum is the exclusive or of the payload's
// big-endian 16-bit words.
class FrameParser {
public:
  explicit FrameParser(std::size_t maxPayloadWords) : maxWords_(maxPayloadWords) {}

  // Feeds one byte of a frame (the first must be the start marker). Returns the frame once
  // its last byte arrived, or at once when its length is impossible.
  std::optional<Frame> feed(std::uint8_t byte);
  bool inFrame() const { return stage_ != Stage::Idle; }
  // Bytes of the current frame received so far, start marker included.
  std::size_t bytesSoFar() const { return count_; }
  void abandon();

private:
  enum class Stage { Idle, Length, Payload, Checksum, End };
  std::size_t maxWords_;
  Stage stage_ = Stage::Idle;
  std::size_t count_ = 0;
  std::size_t words_ = 0;
  std::vector<std::uint8_t> payload_;
  std::uint16_t checksum_ = 0;
};

// The checksum as the host computes it.
std::uint16_t FrameChecksum(const std::vector<std::uint8_t>& payload);

} // namespace quillon::sim
