// Reads a large S-record firmware file through the image the way the loader does, and times
// srec_cat converting the same file, so the two rates can be compared on this machine.
// Prints figures; asserts nothing about them.

#include "gpsload/firmware_image.h"
#include "testsupport/scratch_folder.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kDataBytes = 4 * 1024 * 1024;
constexpr int kRuns = 3;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool writeRandomBinary(const std::filesystem::path& path) {
  std::mt19937 generator(2026);
  std::vector<char> bytes(kDataBytes);
  for (auto& byte : bytes)
    byte = static_cast<char>(generator());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// Opens the image and reads every chunk; returns the data bytes delivered.
std::uint64_t readThroughImage(const std::string& path) {
  quillon::FirmwareImage image(path);
  if (!image.isSRecord())
    return 0;
  constexpr int kCapacity = quillon::FirmwareImage::kLoaderCapacity;
  std::vector<std::uint8_t> buffer(kCapacity + quillon::FirmwareImage::kMaxRecordData);
  std::uint64_t total = 0;
  std::uint32_t offset = 0;
  for (;;) {
    std::uint32_t address = offset;
    const std::int16_t length = image.ReadChunk(buffer.data(), kCapacity, address);
    if (length <= 0)
      return total;
    total += static_cast<std::uint64_t>(length);
    offset = static_cast<std::uint32_t>(total + total % 2);
  }
}

template <typename Job> double bestOf(Job job) {
  double best = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = Clock::now();
    if (!job())
      return -1;
    best = std::min(best, secondsSince(start));
  }
  return best;
}

} // namespace

int main() {
  const quillon::test::ScratchFolder scratch;
  const std::filesystem::path dir = scratch.path();
  const auto binary = dir / "data.bin";
  const auto mot = dir / "image.mot";
  int status = 1;
  if (writeRandomBinary(binary) &&
      std::system(("srec_cat '" + binary.string() + "' -binary -offset 0x2D000000 -o '" +
                   mot.string() + "' -motorola -address-length=4 -Output_Block_Size 32")
                      .c_str()) == 0) {
    const double fileMB = static_cast<double>(std::filesystem::file_size(mot)) / 1e6;
    const double ours = bestOf([&] { return readThroughImage(mot.string()) == kDataBytes; });
    const std::string srecCat =
        "srec_cat '" + mot.string() + "' -motorola -o /dev/null -binary 2>/dev/null";
    const double theirs = bestOf([&] { return std::system(srecCat.c_str()) == 0; });
    if (ours > 0 && theirs > 0) {
      std::printf("file: %.2f MB of S3 records, %zu data bytes; best of %d runs each\n", fileMB,
                  kDataBytes, kRuns);
      std::printf("image (open, check, read all chunks): %.3f s  %.1f MB/s\n", ours, fileMB / ours);
      std::printf("srec_cat to binary:                   %.3f s  %.1f MB/s\n", theirs,
                  fileMB / theirs);
      std::printf("ratio (image rate / srec_cat rate):   %.1f\n", theirs / ours);
      status = 0;
    } else {
      std::fprintf(stderr, "bench-image: a run failed\n");
    }
  } else {
    std::fprintf(stderr,
                 "bench-image: could not generate the test file (is srec_cat installed?)\n");
  }
  return status;
}
