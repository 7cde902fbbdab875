#pragma once

#include "base/clock.h"
#include "gpsload/firmware_image.h"
#include "gpsload/uploader.h"
#include "tests/loader/scripted_loader_link.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon::test {

struct ImageBlock {
  std::uint32_t address;
  std::vector<std::uint8_t> data;
};

// Bytes that differ from record to record, so a misplaced chunk shows.
std::vector<std::uint8_t> Pattern(std::size_t count, unsigned seed);

// Writes a firmware file in the test's temporary folder: an S0 header, S3 records of at most
// `perRecord` data bytes for each block, an S7 end record. Returns its path.
std::string WriteSRecordFile(const std::vector<ImageBlock>& blocks, std::size_t perRecord = 32);

// The wizard's range.
inline constexpr std::uint32_t kFlashStart = 0x2D000000;
inline constexpr std::uint32_t kFlashEnd = 0xFFFFFFFF;

// An Uploader on a scripted link and a virtual clock, with its trace lines collected.
struct LoaderRig {
  explicit LoaderRig(const std::string& imagePath, std::uint32_t end = kFlashEnd,
                     LoadAddressing addressing = LoadAddressing::Addressed, bool portFound = true);

  // Steps, answering as a healthy boot loader whenever the script runs dry, until the state is
  // `target`.
  void reach(int target);
  // Queues the bytes and steps once; returns what Step returned.
  bool answer(std::initializer_list<int> bytes);
  void forget();

  VirtualClock clock;
  ScriptedLoaderLink link;
  FirmwareImage image;
  std::unique_ptr<Uploader> loader;
  std::vector<std::string> traces;
};

} // namespace quillon::test
