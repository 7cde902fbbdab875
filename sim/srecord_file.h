#pragma once

#include "sim/flash_model.h"

#include <string>

namespace quillon::sim {

// The virtual Yardmark reads and writes Motorola S-records on its own, independently of the
// program's firmware reader, so that a fault in either shows up as a difference.

// Reads the data records (S1, S2, S3) of `path` into `image`. Header, count and start-address
// records are checked and skipped. False, with `error` naming the line, on anything malformed.
bool ReadSRecordFile(const std::string& path, FlashModel& image, std::string& error);

// The flash as S3 records of at most 32 data bytes, after an S0 header and before an S7 end.
std::string FormatS3(const FlashModel& flash);
bool WriteS3File(const std::string& path, const FlashModel& flash);

} // namespace quillon::sim
