#pragma once

#include "gpsload/srecord_line.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

// A run of data bytes of the image; the bytes live in SRecordImage::data.
struct ImageRecord {
  std::uint32_t address = 0;
  std::uint32_t length = 0;
  std::uint32_t line = 0; // the file line the bytes come from
  SRecordType type = SRecordType::S3;
  std::size_t dataOffset = 0;

  std::uint64_t end() const { return std::uint64_t{address} + length; }
};

// The memory image a firmware file describes. Records are in ascending address order and do
// not overlap: where the file gives an address twice (with the same value) the second copy is
// cut away. Records without data bytes are left out: they carry nothing to flash.
struct SRecordImage {
  std::vector<ImageRecord> records;
  std::vector<std::uint8_t> data;
};

// Hands out the file's bytes block by block: the number of bytes placed in `into` (at most
// `room`), 0 at the end, negative on a read error.
using BlockReader = std::function<std::ptrdiff_t(char* into, std::size_t room)>;

// Reads a whole firmware file, line by line (LF or CR LF, the last line with or without a line
// end; blank lines are passed over). On success fills `image` and returns true. Otherwise
// returns false, `image` empty, with `refusal` saying why:
//   "line 40: checksum" (also "not a record", "bad hex", "byte count", "too long",
//   "address range"), for the first line that is not a well-formed record;
//   "line 9: count says 12 data records, 11 come before it", for an S5 or S6 record;
//   "no count or end record after line 250: the file may be cut short";
//   "line 7: address 2D000010 already given another value on line 3";
//   kNoDataRefusal, when no record carries any data;
//   "cannot read", when the file could not be read.
inline constexpr const char* kNoDataRefusal = "no data records: the file holds no firmware";
bool loadSRecordImage(const BlockReader& read, SRecordImage& image, std::string& refusal);

// Puts the records of `image` (in file order) into ascending address order and cuts away data
// given twice. False, with `refusal` naming the lines, when two lines give one address
// different values: the lowest such address, the first line that gives it, and the first line
// after that which gives it another value.
bool arrangeByAddress(SRecordImage& image, std::string& refusal);

} // namespace quillon
