#include "gpsload/firmware_image.h"

#include "gpsload/firmware_file.h"
#include "gpsload/srecord_chunker.h"
#include "gpsload/srecord_image.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace quillon {
namespace {

// The image size is estimated from the file length: S-record text carries about 0.36168
// data bytes per character. Worked in integers so the truncation is exact.
constexpr std::uint64_t kEstimateNumerator = 36168;
constexpr std::uint64_t kEstimateDenominator = 100000;

// The most a caller may ask for: a chunk (capacity + one record) must fit the 16-bit result.
constexpr int kMaxCapacity =
    std::numeric_limits<std::int16_t>::max() - FirmwareImage::kMaxRecordData;

std::int32_t saturatedSize(std::uint64_t value) {
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::min(value, kMax));
}

bool startsWithHeaderRecord(FirmwareFile& file) {
  char head[2] = {};
  return file.readAt(0, head, sizeof head) == 2 && head[0] == 'S' && head[1] == '0';
}

} // namespace

struct FirmwareImage::State {
  // Open for the life of the object when the file is not S-records: such an image is read
  // straight from the file at the offset asked for.
  FirmwareFile file;
  bool rawImage = false;
  // A validated S-record image, held decoded in memory.
  std::optional<SRecordChunker> chunker;
};

FirmwareImage::FirmwareImage(const std::string& path) : state_(std::make_unique<State>()) {
  FirmwareFile& file = state_->file;
  switch (file.open(path)) {
  case FirmwareFile::Opened::CannotOpen:
    return;
  case FirmwareFile::Opened::NotRegularFile:
    check_ = ImageCheck::NotRegularFile;
    return;
  case FirmwareFile::Opened::Yes:
    break;
  }
  const std::uint64_t length = file.length();
  if (!startsWithHeaderRecord(file)) {
    size_ = saturatedSize(length);
    check_ = ImageCheck::NotSRecords;
    state_->rawImage = true;
    return;
  }
  size_ = saturatedSize(length * kEstimateNumerator / kEstimateDenominator);
  // The whole file is checked now, before any device is touched; it is read in binary, with
  // CR LF and LF line ends treated alike.
  std::uint64_t position = 0;
  const BlockReader read = [&file, &position](char* into, std::size_t room) {
    const std::ptrdiff_t got = file.readAt(position, into, room);
    position += got > 0 ? static_cast<std::uint64_t>(got) : 0;
    return got;
  };
  SRecordImage image;
  const bool usable = loadSRecordImage(read, image, damage_);
  file.close();
  if (!usable) {
    check_ = ImageCheck::Damaged;
    return;
  }
  state_->chunker.emplace(std::move(image));
  frameCount_ = state_->chunker->countChunks(kLoaderCapacity, kMaxRecordData);
  check_ = ImageCheck::Usable;
}

FirmwareImage::~FirmwareImage() = default;

std::string FirmwareImage::refusal() const {
  switch (check_) {
  case ImageCheck::Usable:
    return {};
  case ImageCheck::CannotOpen:
    return "cannot open";
  case ImageCheck::NotRegularFile:
    return "not a regular file";
  case ImageCheck::NotSRecords:
    return "not an S-record file";
  case ImageCheck::Damaged:
    return damage_;
  }
  return {};
}

std::int16_t FirmwareImage::ReadChunk(std::uint8_t* buffer, int capacity, std::uint32_t& address) {
  if (buffer == nullptr)
    return 0;
  const int clamped = std::clamp(capacity, 0, kMaxCapacity);
  if (state_->chunker) {
    std::uint32_t chunkAddress = 0;
    const std::size_t length =
        state_->chunker->read(buffer, static_cast<std::size_t>(clamped),
                              static_cast<std::size_t>(kMaxRecordData), address, chunkAddress);
    if (length > 0)
      address = chunkAddress;
    return static_cast<std::int16_t>(length);
  }
  if (!state_->rawImage)
    return 0; // unopened, not a regular file, or S-records that failed the check: no data
  const std::ptrdiff_t got =
      state_->file.readAt(address, buffer, static_cast<std::size_t>(clamped));
  return static_cast<std::int16_t>(std::max<std::ptrdiff_t>(got, 0));
}

} // namespace quillon
