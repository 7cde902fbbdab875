#include "gpsload/srecord_chunker.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quillon {

SRecordChunker::SRecordChunker(SRecordImage image) : image_(std::move(image)) {}

std::size_t SRecordChunker::read(std::uint8_t* buffer, std::size_t capacity, std::size_t extraRoom,
                                 std::uint32_t offset, std::uint32_t& chunkAddress) {
  const auto& records = image_.records;
  if (records.empty())
    return 0;
  // In 64 bits, so an offset the loader computed past the top of the address space still
  // reads as "further on" rather than wrapping round to the start.
  const std::uint64_t wanted = std::uint64_t{records.front().address} + offset;
  const Position from = wanted < lastChunkEnd_ ? positionOf(wanted) : next_;
  if (from.record >= records.size())
    return 0;
  const Span span = cut(from, capacity, std::max<std::size_t>(capacity + extraRoom, 1));
  Position at = from;
  for (std::size_t copied = 0; copied < span.length; at = {at.record + 1, 0}) {
    const ImageRecord& record = records[at.record];
    const std::size_t count = std::min(record.length - at.consumed, span.length - copied);
    std::memcpy(buffer + copied, image_.data.data() + record.dataOffset + at.consumed, count);
    copied += count;
  }
  const std::uint64_t start = addressOf(from);
  chunkAddress = static_cast<std::uint32_t>(start);
  next_ = span.end;
  lastChunkEnd_ = start + span.length;
  return span.length;
}

std::size_t SRecordChunker::countChunks(std::size_t capacity, std::size_t extraRoom) const {
  const std::size_t room = std::max<std::size_t>(capacity + extraRoom, 1);
  std::size_t chunks = 0;
  for (Position at; at.record < image_.records.size(); at = cut(at, capacity, room).end)
    ++chunks;
  return chunks;
}

SRecordChunker::Span SRecordChunker::cut(Position from, std::size_t capacity,
                                         std::size_t room) const {
  const auto& records = image_.records;
  const std::uint64_t start = addressOf(from);
  Span span{from, 0};
  int taken = 0;
  while (span.end.record < records.size()) {
    const ImageRecord& record = records[span.end.record];
    // Only S3 records run on into one chunk, and only without a gap.
    if (span.length > 0 &&
        (record.type != SRecordType::S3 || record.address != start + span.length))
      break;
    const std::size_t count = std::min(record.length - span.end.consumed, room - span.length);
    span.length += count;
    span.end.consumed += count;
    if (span.end.consumed < record.length)
      break; // the caller's buffer is full
    span.end = {span.end.record + 1, 0};
    ++taken;
    if (record.type != SRecordType::S3 || taken >= kMaxRecordsPerChunk || span.length >= capacity)
      break;
  }
  return span;
}

SRecordChunker::Position SRecordChunker::positionOf(std::uint64_t address) const {
  const auto& records = image_.records;
  const auto above = std::upper_bound(
      records.begin(), records.end(), address,
      [](std::uint64_t value, const ImageRecord& record) { return value < record.address; });
  const auto index = static_cast<std::size_t>(above - records.begin());
  if (index > 0 && address < records[index - 1].end())
    return {index - 1, static_cast<std::size_t>(address - records[index - 1].address)};
  return {index, 0};
}

std::uint64_t SRecordChunker::addressOf(Position position) const {
  return std::uint64_t{image_.records[position.record].address} + position.consumed;
}

} // namespace quillon
