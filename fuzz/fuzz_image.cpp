// The firmware image reader on arbitrary files. Whatever the file holds, the reader must
// either refuse it with the reason an independent reading finds, or hand out exactly the
// image's bytes at their addresses, in ascending order, in chunks that fit the loader's frame.

#include "fuzz/fuzz_check.h"
#include "fuzz/scratch_dir.h"
#include "fuzz/srecord_oracle.h"
#include "gpsload/firmware_image.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quillon::FirmwareImage;
using quillon::fuzz::ImageBytes;
using quillon::fuzz::OracleImage;

constexpr int kCapacity = FirmwareImage::kLoaderCapacity;
constexpr std::size_t kRoom = FirmwareImage::kLoaderCapacity + FirmwareImage::kMaxRecordData;
// Reads at offsets of the fuzzer's choosing, after the forward pass.
constexpr int kRandomReads = 12;

std::int32_t expectedSize(std::string_view file) {
  const std::uint64_t length = file.size();
  const std::uint64_t size =
      quillon::fuzz::beginsWithHeaderRecord(file) ? length * 36168 / 100000 : length;
  return static_cast<std::int32_t>(
      std::min<std::uint64_t>(size, std::numeric_limits<std::int32_t>::max()));
}

// Every byte of the image with its address, in address order.
struct PlacedByte {
  std::uint64_t address;
  std::uint8_t value;
  bool operator==(const PlacedByte&) const = default;
};

std::vector<PlacedByte> flatten(const OracleImage& image) {
  std::vector<PlacedByte> bytes;
  for (const auto& [address, value] : image.bytes)
    bytes.push_back({address, value});
  return bytes;
}

// Reads the image front to back the way the flash loader does: each read asks for the
// offset where the last chunk ended, padded to a whole word, counted from the lowest address.
// Every address must come once, in ascending order, in as many chunks as the image says one
// pass takes.
void checkForwardPass(FirmwareImage& image, const OracleImage& oracle) {
  const std::vector<PlacedByte> expected = flatten(oracle);
  const std::uint32_t first = oracle.bytes.begin()->first;
  std::vector<PlacedByte> got;
  std::vector<std::uint8_t> buffer(kRoom);
  std::uint32_t offset = 0;
  std::size_t chunks = 0;
  for (;;) {
    std::uint32_t address = offset;
    const std::int16_t length = image.ReadChunk(buffer.data(), kCapacity, address);
    QUILLON_FUZZ_CHECK(length >= 0, "a chunk has a negative length");
    if (length == 0)
      break;
    ++chunks;
    QUILLON_FUZZ_CHECK(static_cast<std::size_t>(length) <= kRoom,
                       "a chunk is larger than capacity + one record");
    QUILLON_FUZZ_CHECK(got.size() + static_cast<std::size_t>(length) <= expected.size(),
                       "the image hands out more bytes than its records hold");
    for (std::size_t i = 0; i < static_cast<std::size_t>(length); ++i)
      got.push_back({std::uint64_t{address} + i, buffer[i]});
    const std::uint64_t end = std::uint64_t{address} + static_cast<std::uint64_t>(length);
    const std::uint64_t next = end - first + static_cast<std::uint64_t>(length % 2);
    if (next > UINT32_MAX)
      break; // the chunk ends at the top of memory: nothing lies past it
    offset = static_cast<std::uint32_t>(next);
  }
  QUILLON_FUZZ_CHECK(got == expected,
                     "the chunks differ from the image's bytes in ascending address order");
  QUILLON_FUZZ_CHECK(chunks == image.frameCount(),
                     "one pass reads another number of chunks than the image's frame count");
  std::uint32_t address = offset;
  QUILLON_FUZZ_CHECK(got.back().address == UINT32_MAX ||
                         image.ReadChunk(buffer.data(), kCapacity, address) == 0,
                     "an exhausted image hands out more data");
}

// Reads at offsets and capacities drawn from the input: every byte returned must be the one
// the image holds at that address, and a read that goes back to an address the image holds
// starts there.
void checkRandomReads(FirmwareImage& image, const OracleImage& oracle, std::uint32_t seed) {
  const ImageBytes& held = oracle.bytes;
  const std::uint64_t first = held.begin()->first;
  const std::uint64_t span = held.rbegin()->first - first + 64;
  std::minstd_rand random(seed);
  std::uint64_t lastEnd = 0;
  for (int read = 0; read < kRandomReads; ++read) {
    const auto offset = static_cast<std::uint32_t>(random() % span);
    const int capacity = random() % 4 == 0 ? 1 : kCapacity;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(capacity) +
                                     FirmwareImage::kMaxRecordData);
    std::uint32_t address = offset;
    const std::int16_t length = image.ReadChunk(buffer.data(), capacity, address);
    QUILLON_FUZZ_CHECK(length >= 0 && static_cast<std::size_t>(length) <= buffer.size(),
                       "a chunk does not fit capacity + one record");
    if (length == 0)
      continue;
    const std::uint64_t wanted = first + offset;
    if (wanted < lastEnd && wanted <= UINT32_MAX &&
        held.count(static_cast<std::uint32_t>(wanted)) != 0) {
      QUILLON_FUZZ_CHECK(address == wanted, "a read that goes back starts somewhere else");
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(length); ++i) {
      const auto byte = held.find(static_cast<std::uint32_t>(address + i));
      QUILLON_FUZZ_CHECK(byte != held.end() && byte->second == buffer[i],
                         "a chunk holds a byte the image does not have at that address");
    }
    lastEnd = std::uint64_t{address} + static_cast<std::uint64_t>(length);
  }
}

// A file that is not S-records is read as it lies.
void checkRawReads(FirmwareImage& image, std::string_view file, std::uint32_t seed) {
  std::minstd_rand random(seed);
  std::vector<std::uint8_t> buffer(kRoom);
  for (int read = 0; read < 4; ++read) {
    const auto offset = static_cast<std::uint32_t>(random() % (file.size() + 8));
    std::uint32_t address = offset;
    const std::int16_t length = image.ReadChunk(buffer.data(), kCapacity, address);
    const std::size_t available = offset < file.size() ? file.size() - offset : 0;
    QUILLON_FUZZ_CHECK(static_cast<std::size_t>(length) ==
                           std::min<std::size_t>(available, kCapacity),
                       "a raw read returns the wrong number of bytes");
    QUILLON_FUZZ_CHECK(address == offset, "a raw read moved the address");
    const auto* fileBytes = reinterpret_cast<const std::uint8_t*>(file.data());
    QUILLON_FUZZ_CHECK(length == 0 ||
                           std::equal(buffer.begin(), buffer.begin() + length, fileBytes + offset),
                       "a raw read returns other bytes than the file's");
  }
}

std::uint32_t seedOf(std::string_view file) {
  std::uint32_t hash = 2166136261U;
  for (char c : file)
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619U;
  return hash;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = quillon::fuzz::writeScratchFile("firmware.s19", data, size).string();
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  FirmwareImage image(path);
  QUILLON_FUZZ_CHECK(image.opened(), "a file that exists did not open");
  QUILLON_FUZZ_CHECK(image.size() == expectedSize(file), "the size estimate is wrong");

  if (!quillon::fuzz::beginsWithHeaderRecord(file)) {
    QUILLON_FUZZ_CHECK(!image.isSRecord(), "a file without S0 taken as S-records");
    QUILLON_FUZZ_CHECK(image.check() == quillon::ImageCheck::NotSRecords,
                       "a file without S0 refused for another reason");
    checkRawReads(image, file, seedOf(file));
    return 0;
  }

  const OracleImage oracle = quillon::fuzz::readImageOracle(file);
  QUILLON_FUZZ_CHECK(image.isSRecord() == oracle.usable,
                     "the reader and the independent reading disagree on usability");
  if (!oracle.usable) {
    QUILLON_FUZZ_CHECK(image.check() == quillon::ImageCheck::Damaged,
                       "refused S-records not reported as damaged");
    QUILLON_FUZZ_CHECK(image.refusal() == oracle.refusal,
                       "the refusal names another line or reason");
    std::vector<std::uint8_t> buffer(kRoom);
    std::uint32_t address = 0;
    QUILLON_FUZZ_CHECK(image.ReadChunk(buffer.data(), kCapacity, address) == 0,
                       "a refused image hands out data");
    return 0;
  }
  QUILLON_FUZZ_CHECK(image.refusal().empty(), "a usable image carries a refusal");
  if (oracle.bytes.empty()) {
    std::vector<std::uint8_t> buffer(kRoom);
    std::uint32_t address = 0;
    QUILLON_FUZZ_CHECK(image.ReadChunk(buffer.data(), kCapacity, address) == 0,
                       "an image without data hands out data");
    return 0;
  }
  checkForwardPass(image, oracle);
  checkRandomReads(image, oracle, seedOf(file));
  return 0;
}
