#pragma once

#include "gpsload/srecord_image.h"

#include <cstddef>
#include <cstdint>

namespace quillon {

// Cuts an image into the chunks the flash loader sends, one record frame each, in ascending
// address order whatever the order of the file's records.
//
// A chunk is either one S1 or S2 record, or a run of S3 records whose addresses follow on
// without a gap; the run ends after 201 records, once the chunk has reached the capacity (it
// may pass it by one record: records are not split), or before a record of another type or at
// another address, which then starts the next chunk.
//
// The loader says where it wants to continue by an offset from the image's lowest address. At
// or past the end of the last chunk (the normal flow, the pad byte after an odd chunk) the
// chunker carries on where that chunk ended, so no data is ever skipped. Before it (the loader
// restarted or was told to resend) the chunker goes back to the data at that address, starting
// in the middle of a record if need be, and everything from there comes again.
class SRecordChunker {
public:
  // Records at most this many make one chunk.
  static constexpr int kMaxRecordsPerChunk = 201;

  explicit SRecordChunker(SRecordImage image);

  // Writes the chunk into `buffer`, never more than max(capacity, 0) + `extraRoom` bytes (a
  // record that would overrun that is split there and continued by the next call). Returns the
  // chunk's length, 0 when the image holds no more data; `chunkAddress` receives the load
  // address of its first byte (unchanged when 0 is returned).
  std::size_t read(std::uint8_t* buffer, std::size_t capacity, std::size_t extraRoom,
                   std::uint32_t offset, std::uint32_t& chunkAddress);

  // The chunks of one pass over the whole image, read front to back.
  std::size_t countChunks(std::size_t capacity, std::size_t extraRoom) const;

private:
  // A byte of the image: a record and how many of its bytes lie before it.
  struct Position {
    std::size_t record = 0;
    std::size_t consumed = 0;
  };
  struct Span {
    Position end;
    std::size_t length = 0;
  };

  Span cut(Position from, std::size_t capacity, std::size_t room) const;
  // The first byte of the image at or above `address`.
  Position positionOf(std::uint64_t address) const;
  std::uint64_t addressOf(Position position) const;

  SRecordImage image_;
  Position next_;                  // where the chunk after the last one starts
  std::uint64_t lastChunkEnd_ = 0; // address just past the last chunk delivered
};

} // namespace quillon
