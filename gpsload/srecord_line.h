#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon {

// The data record types the GPS chip's loader takes: 16-, 24- and 32-bit load addresses.
enum class SRecordType : std::uint8_t { S1, S2, S3 };

// What one text line of a firmware file turned out to be.
enum class LineVerdict : std::uint8_t {
  NotData,      // header, count, start-address record or any other line: skipped
  Data,         // a well-formed S1, S2 or S3 record
  BadHex,       // a character that is not a hex digit after the record type
  ByteCount,    // the count field disagrees with the line's length, or is too small
  Checksum,     // the checksum byte does not match the record
  TooLong,      // longer than any legal record
  AddressRange, // the data runs past the top of the 32-bit address space
};

// The text the refusal of a line carries, e.g. "checksum".
const char* verdictText(LineVerdict verdict);

struct DataRecordHeader {
  SRecordType type = SRecordType::S3;
  std::uint32_t address = 0;
  std::size_t dataLength = 0;
};

// Longest legal record line: "S", the type, then 255 count-covered bytes plus the count
// itself, two hex digits each.
inline constexpr std::size_t kMaxRecordLineLength = 2 + 2 * (1 + 255);

// Decodes one line (its line end may still be attached; trailing blanks, tabs and CR are
// ignored). For a Data verdict the record's data bytes are appended to `data` and `header`
// describes them; for any other verdict neither is touched.
LineVerdict decodeRecordLine(std::string_view line, DataRecordHeader& header,
                             std::vector<std::uint8_t>& data);

} // namespace quillon
