// quillon-fwcheck FILE
//
// Checks a firmware file the way the wizard will use it, without a device: whether it is
// accepted, and if so the chunks the flash loader will send, in order, each with its load
// address, length and CRC-32, so support staff can compare a release package with a known
// good listing.

#include "gpsload/firmware_image.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>
#include <zlib.h>

namespace {

constexpr int kExitUsable = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

void printUsage(std::FILE* to) {
  std::fputs("usage: quillon-fwcheck FILE\n"
             "Checks an S-record firmware file and lists the chunks the loader sends: the\n"
             "estimated size the progress bar runs on, each chunk's load address, length in\n"
             "bytes and CRC-32, and the total of the chunks.\n",
             to);
}

std::uint32_t crc32Of(const std::uint8_t* bytes, std::size_t length) {
  return static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), bytes, static_cast<uInt>(length)));
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    printUsage(argc == 2 ? stdout : stderr);
    return kExitUsage;
  }
  quillon::FirmwareImage image(argv[1]);
  if (!image.isSRecord()) {
    std::fprintf(stderr, "refused: %s\n", image.refusal().c_str());
    return kExitRefused;
  }
  // The wizard's progress bar runs on this estimate, made from the file length alone.
  std::printf("estimated size %" PRId32 " bytes (file length x 0.36168)\n", image.size());

  constexpr int kCapacity = quillon::FirmwareImage::kLoaderCapacity;
  std::vector<std::uint8_t> buffer(kCapacity + quillon::FirmwareImage::kMaxRecordData);
  // Ask for each chunk the way the loader does: at the offset just past the previous chunk,
  // odd lengths padded to a whole word, counted from the first chunk's address; like the
  // loader, stop once that lies past the top of the address space.
  std::uint32_t firstAddress = 0;
  std::uint64_t nextAddress = 0;
  std::uint64_t totalBytes = 0;
  std::uint64_t chunks = 0;
  while (nextAddress <= UINT32_MAX) {
    auto address = static_cast<std::uint32_t>(nextAddress - firstAddress);
    const std::int16_t length = image.ReadChunk(buffer.data(), kCapacity, address);
    if (length <= 0)
      break;
    const auto bytes = static_cast<std::size_t>(length);
    if (chunks == 0)
      firstAddress = address;
    std::printf("chunk address 0x%08" PRIX32 " length %zu crc32 0x%08" PRIX32 "\n", address, bytes,
                crc32Of(buffer.data(), bytes));
    totalBytes += bytes;
    ++chunks;
    nextAddress = std::uint64_t{address} + bytes + bytes % 2;
  }
  std::printf("total %" PRIu64 " bytes in %" PRIu64 " chunks\n", totalBytes, chunks);
  return kExitUsable;
}
