#include "sim/frame_parser.h"

#include "sim/wire_constants.h"

namespace quillon::sim {

std::uint16_t FrameChecksum(const std::vector<std::uint8_t>& payload) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i + 1 < payload.size(); i += 2)
    sum = static_cast<std::uint16_t>(sum ^ ((payload[i] << 8) | payload[i + 1]));
  return sum;
}

void FrameParser::abandon() {
  stage_ = Stage::Idle;
  count_ = 0;
  words_ = 0;
  payload_.clear();
  checksum_ = 0;
}

std::optional<Frame> FrameParser::feed(std::uint8_t byte) {
  const std::size_t index = count_++;
  switch (stage_) {
  case Stage::Idle:
    if (byte != loader_wire::kFrameStart) {
      count_ = 0;
      return std::nullopt;
    }
    stage_ = Stage::Length;
    return std::nullopt;
  case Stage::Length:
    words_ = (words_ << 8) | byte;
    if (index < 2)
      return std::nullopt;
    if (words_ > maxWords_) {
      abandon();
      return Frame{FrameCheck::BadLength, {}};
    }
    stage_ = words_ == 0 ? Stage::Checksum : Stage::Payload;
    return std::nullopt;
  case Stage::Payload:
    payload_.push_back(byte);
    if (payload_.size() == 2 * words_)
      stage_ = Stage::Checksum;
    return std::nullopt;
  case Stage::Checksum:
    checksum_ = static_cast<std::uint16_t>((checksum_ << 8) | byte);
    if (index == 3 + 2 * words_ + 1)
      stage_ = Stage::End;
    return std::nullopt;
  case Stage::End: {
    Frame frame;
    frame.payload = std::move(payload_);
    if (byte != loader_wire::kFrameEnd)
      frame.check = FrameCheck::NoEndMarker;
    else if (FrameChecksum(frame.payload) != checksum_)
      frame.check = FrameCheck::BadChecksum;
    abandon();
    return frame;
  }
  }
  return std::nullopt;
}

} // namespace quillon::sim
