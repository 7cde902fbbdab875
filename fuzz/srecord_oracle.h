#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::fuzz {

// A second, deliberately plain reading of a firmware file, written apart from the image
// reader so the two can be compared byte for byte. It follows the rules the image reader
// promises: lines end at LF (a CR before it, and trailing blanks and tabs, are no part of
// the record); S1, S2 and S3 lines are data records and must be whole, hex, counted and
// checksummed, and their data must lie below 2^32; every other line is skipped; a line
// longer than any legal record is refused even when it is not a record.
struct OracleRecord {
  std::uint64_t address = 0;
  std::vector<std::uint8_t> data;
  bool s3 = false;
};

struct OracleImage {
  bool usable = false;
  // "line N: " and "bad hex", "byte count", "checksum", "too long" or "address range".
  std::string refusal;
  // Records with at least one data byte, in file order.
  std::vector<OracleRecord> records;
};

OracleImage readImageOracle(std::string_view file);

// True when `file` begins with the header record's "S0", the mark of an S-record file.
bool beginsWithHeaderRecord(std::string_view file);

} // namespace quillon::fuzz
