#pragma once

#include "gpsload/srecord_line.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace quillon {

// One data record of the image, in file order; its bytes live in SRecordImage::data.
struct ImageRecord {
  std::uint32_t address = 0;
  std::uint32_t length = 0;
  std::size_t dataOffset = 0;
  SRecordType type = SRecordType::S3;

  std::uint64_t end() const { return std::uint64_t{address} + length; }
};

// Every data record of a firmware file, decoded and checked. Records without data bytes are
// left out: they carry nothing to flash.
struct SRecordImage {
  std::vector<ImageRecord> records;
  std::vector<std::uint8_t> data;
};

// Reads the whole of `in` from its current position, line by line (LF or CR LF, the last
// line with or without a line end). On success fills `image` and returns true. Otherwise
// returns false with `refusal` naming the first bad line ("line 40: checksum") or
// "cannot read" when the stream failed; `image` is then empty. Line numbers count from the
// stream's current position as line 1.
bool loadSRecordImage(std::istream& in, SRecordImage& image, std::string& refusal);

} // namespace quillon
