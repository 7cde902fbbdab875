#pragma once

#include "gpsload/firmware_image.h"
#include "testsupport/scratch_folder.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon::test {

void writeFile(const std::filesystem::path& path, const std::string& contents);
std::string readFile(const std::filesystem::path& path);
std::vector<std::uint8_t> randomBytes(std::size_t count, std::uint32_t seed);
// `count` bytes counting up (modulo 256) from `from`: the data contiguousS3 writes.
std::vector<std::uint8_t> countingBytes(std::size_t count, std::size_t from);

// Runs a shell command; returns its exit status (-1 when it could not be run).
int runCommand(const std::string& command);
// Runs a shell command and returns what it wrote to standard output.
std::string commandOutput(const std::string& command);

// One S-record line with a correct count and checksum, no line end. `type` is 1, 2 or 3.
std::string recordLine(int type, std::uint32_t address, const std::vector<std::uint8_t>& data);
// `n` S3 lines of `size` bytes each, addresses following on from `address`, each line ending
// in LF; bytes count up from `firstByte`.
std::string contiguousS3(std::uint32_t address, int n, int size, std::uint8_t firstByte = 0);
inline const std::string kHeaderLine = "S00600004844521B\n";
// An S7 end record: a file is whole only with a count or end record after its data.
inline const std::string kEndLine = "S70500000000FA\n";

struct Chunk {
  std::uint32_t address = 0;
  std::vector<std::uint8_t> bytes;
};

// One chunk as the loader asks for it: at `offset` from the image's first data address.
Chunk readChunkAt(FirmwareImage& image, std::uint32_t offset,
                  int capacity = FirmwareImage::kLoaderCapacity);
// Every chunk in the order the loader reads them going forward (odd chunks padded).
std::vector<Chunk> readAllChunks(FirmwareImage& image,
                                 int capacity = FirmwareImage::kLoaderCapacity);

} // namespace quillon::test
