#pragma once

#include "gpsload/srecord_image.h"

#include <cstddef>
#include <cstdint>

namespace quillon {

// Cuts a decoded image into the chunks the flash loader sends, one record frame each.
//
// Going forward, a chunk is either one S1 or S2 record, or a run of S3 records whose
// addresses follow on without a gap; the run ends after 201 records, once the chunk has
// reached the capacity (it may pass it by one record: records are not split), or before a
// record of another type or at another address, which then starts the next chunk.
//
// The loader says where it wants to continue by an offset from the image's first data
// address. At or past the end of the last chunk (the normal flow, the pad byte after an odd
// chunk, a gap) the chunker carries on in file order. Before it (the loader restarted or was
// told to resend) the chunker moves back to the data at that address, starting in the middle
// of a record if need be, so the flash receives the image again without holes.
class SRecordChunker {
public:
  // Records at most this many make one chunk.
  static constexpr int kMaxRecordsPerChunk = 201;

  explicit SRecordChunker(SRecordImage image);

  // Writes the next chunk into `buffer`, never more than max(capacity, 0) + `extraRoom` bytes
  // (a record that would overrun that is split there and continued by the next call).
  // Returns the chunk's length, 0 when the image holds no more data; `chunkAddress` receives
  // the load address of its first byte (unchanged when 0 is returned).
  std::size_t read(std::uint8_t* buffer, std::size_t capacity, std::size_t extraRoom,
                   std::uint32_t offset, std::uint32_t& chunkAddress);

private:
  void moveTo(std::uint64_t address);
  bool joinsChunk(const ImageRecord& record, std::uint64_t chunkEnd) const;

  SRecordImage image_;
  std::size_t next_ = 0;           // the record the next chunk starts with
  std::size_t consumed_ = 0;       // bytes of that record already delivered
  std::uint64_t lastChunkEnd_ = 0; // address just past the last chunk delivered
};

} // namespace quillon
