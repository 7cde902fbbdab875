#include "gpsload/bin_file.h"

#include "gpsload/srecord_chunker.h"
#include "gpsload/srecord_image.h"

#include <algorithm>
#include <array>
#include <fstream>
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
constexpr int kMaxCapacity = std::numeric_limits<std::int16_t>::max() - BinFile::kMaxRecordData;

std::int32_t saturatedSize(std::uint64_t value) {
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::min(value, kMax));
}

std::uint64_t lengthOf(std::ifstream& file) {
  file.seekg(0, std::ios::end);
  const std::streamoff end = file.tellg();
  file.clear();
  file.seekg(0, std::ios::beg);
  return end > 0 ? static_cast<std::uint64_t>(end) : 0;
}

bool startsWithHeaderRecord(std::ifstream& file) {
  std::array<char, 2> head{};
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  const bool header = file.gcount() == 2 && head[0] == 'S' && head[1] == '0';
  file.clear();
  file.seekg(0, std::ios::beg);
  return header;
}

} // namespace

struct BinFile::State {
  // Open for the life of the object when the file is not S-records: such an image is read
  // straight from the file at the offset asked for.
  std::ifstream file;
  bool rawImage = false;
  // A validated S-record image, held decoded in memory.
  std::optional<SRecordChunker> chunker;
};

BinFile::BinFile(const std::string& path) : state_(std::make_unique<State>()) {
  std::ifstream& file = state_->file;
  file.open(path, std::ios::in | std::ios::binary);
  if (!file.is_open()) {
    refusal_ = "cannot open";
    return;
  }
  binFileOk_ = 1;
  const std::uint64_t length = lengthOf(file);
  if (!startsWithHeaderRecord(file)) {
    size_ = saturatedSize(length);
    refusal_ = "not an S-record file";
    state_->rawImage = true;
    return;
  }
  size_ = saturatedSize(length * kEstimateNumerator / kEstimateDenominator);
  // The whole file is checked now, before any device is touched; the single opening reads
  // it in binary, with CR LF and LF line ends treated alike.
  SRecordImage image;
  const bool usable = loadSRecordImage(file, image, refusal_);
  file.close();
  if (!usable)
    return;
  state_->chunker.emplace(std::move(image));
  sRecord_ = true;
}

BinFile::~BinFile() = default;

std::int16_t BinFile::ReadChunk(std::uint8_t* buffer, int capacity, std::uint32_t& address) {
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
    return 0; // unopened, or S-records that failed the check: no data
  std::ifstream& file = state_->file;
  file.clear();
  file.seekg(static_cast<std::streamoff>(address), std::ios::beg);
  if (!file)
    return 0;
  file.read(reinterpret_cast<char*>(buffer), clamped);
  return static_cast<std::int16_t>(file.gcount());
}

} // namespace quillon
