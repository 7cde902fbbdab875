#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon {

// The data record types the GPS chip's loader takes: 16-, 24- and 32-bit load addresses.
enum class SRecordType : std::uint8_t { S1, S2, S3 };

// What a record is for: S0 the header, S1 to S3 data, S5 and S6 the count of data records,
// S7 to S9 the end of the file (with a start address the loader has no use for).
enum class RecordKind : std::uint8_t { Header, Data, Count, End };

// What one text line of a firmware file turned out to be.
enum class LineVerdict : std::uint8_t {
  Blank,        // nothing but blanks, tabs and a CR
  Record,       // a well-formed record of a known type
  NotARecord,   // no "S" and type digit at its start: a lower-case "s", a leading blank, S4
  BadHex,       // a character that is not a hex digit after the record type
  ByteCount,    // the count field disagrees with the line's length, or is too small
  Checksum,     // the checksum byte does not match the record
  TooLong,      // longer than any legal record
  AddressRange, // the data runs past the top of the 32-bit address space
};

// The text the refusal of a line carries, e.g. "checksum".
const char* verdictText(LineVerdict verdict);

struct RecordLine {
  RecordKind kind = RecordKind::Header;
  SRecordType dataType = SRecordType::S3; // for a data record
  // The address field: the load address of a data record, the number a count record gives.
  std::uint32_t address = 0;
  std::size_t dataLength = 0; // data bytes of a data record
};

// Longest legal record line: "S", the type, then 255 count-covered bytes plus the count
// itself, two hex digits each.
inline constexpr std::size_t kMaxRecordLineLength = 2 + 2 * (1 + 255);

// Decodes one line (its line end may still be attached; trailing blanks, tabs and CR are
// ignored). For a Record verdict `record` describes it, and a data record's bytes are appended
// to `data`; for any other verdict neither is touched.
LineVerdict decodeRecordLine(std::string_view line, RecordLine& record,
                             std::vector<std::uint8_t>& data);

} // namespace quillon
