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
  if (wanted < lastChunkEnd_)
    moveTo(wanted);

  const std::size_t room = std::max<std::size_t>(capacity + extraRoom, 1);
  std::size_t length = 0;
  std::uint64_t start = 0;
  int taken = 0;
  while (next_ < records.size()) {
    const ImageRecord& record = records[next_];
    if (length == 0) {
      start = record.address + std::uint64_t{consumed_};
    } else if (!joinsChunk(record, start + length)) {
      break; // held: it opens the next chunk
    }
    const std::size_t count = std::min<std::size_t>(record.length - consumed_, room - length);
    std::memcpy(buffer + length, image_.data.data() + record.dataOffset + consumed_, count);
    length += count;
    consumed_ += count;
    if (consumed_ < record.length)
      break; // the caller's buffer is full
    ++next_;
    consumed_ = 0;
    ++taken;
    if (record.type != SRecordType::S3 || taken >= kMaxRecordsPerChunk || length >= capacity) {
      break;
    }
  }
  if (length == 0)
    return 0;
  chunkAddress = static_cast<std::uint32_t>(start);
  lastChunkEnd_ = start + length;
  return length;
}

bool SRecordChunker::joinsChunk(const ImageRecord& record, std::uint64_t chunkEnd) const {
  return record.type == SRecordType::S3 && record.address == chunkEnd;
}

void SRecordChunker::moveTo(std::uint64_t address) {
  const auto& records = image_.records;
  std::size_t firstAbove = records.size();
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].address <= address && address < records[i].end()) {
      next_ = i;
      consumed_ = static_cast<std::size_t>(address - records[i].address);
      return;
    }
    if (records[i].address > address && firstAbove == records.size())
      firstAbove = i;
  }
  // No record holds that address: go on with the first data above it.
  next_ = firstAbove;
  consumed_ = 0;
}

} // namespace quillon
