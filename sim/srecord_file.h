#pragma once

#include "sim/flash_model.h"

#include <string>

namespace quillon::sim {

// The virtual Yardmark reads and writes Motorola S-records on its own, independently of the
// program's firmware reader, so that a fault in either shows up as a difference.

// Reads the data records (S1, S2, S3) of `path` into `image`. Header, count and start-address
// records are checked and skipped, blank lines passed over. False, with `error` naming the
// line, for anything a firmware file must not be: not a regular file, no S0 header first, a
// line that is not a well-formed record, a count that disagrees, data past 0xFFFFFFFF, two
// values for one address, or no count or end record after the data (the file may be cut
// short).
bool ReadSRecordFile(const std::string& path, FlashModel& image, std::string& error);

// The flash as S3 records of at most 32 data bytes, after an S0 header and before an S7 end.
std::string FormatS3(const FlashModel& flash);
bool WriteS3File(const std::string& path, const FlashModel& flash);

} // namespace quillon::sim
