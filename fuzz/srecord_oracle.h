#pragma once

#include "fuzz/loader_frame_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::fuzz {

// A second, deliberately plain reading of a firmware file, written apart from the image
// reader so the two can be compared byte for byte. It follows the rules the image reader
// promises:
// - lines end at LF (a CR before it, and trailing blanks and tabs, are no part of the record);
//   a line of nothing else is blank and passed over;
// - every other line must be a whole, hex, counted and checksummed record of type S0 to S3 or
//   S5 to S9 (upper-case "S"), and a data record's bytes must lie below 2^32; the first line
//   that is not is refused ("line N: not a record", "bad hex", "byte count", "checksum",
//   "address range"), as is any line longer than a legal record ("too long");
// - an S5 or S6 record must give the number of S1 to S3 records before it
//   ("line N: count says C data records, D come before it");
// - the last record must be a count or end record
//   ("no count or end record after line N: the file may be cut short");
// - every address has one value: otherwise, for the lowest address given two, the refusal names
//   the first line that gives it and the first after it that gives another value
//   ("line M: address 2D000010 already given another value on line N").
struct OracleImage {
  bool usable = false;
  std::string refusal;
  // Every data byte at its address.
  ImageBytes bytes;
};

OracleImage readImageOracle(std::string_view file);

// True when `file` begins with the header record's "S0", the mark of an S-record file.
bool beginsWithHeaderRecord(std::string_view file);

} // namespace quillon::fuzz
