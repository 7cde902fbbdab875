#include "gpsload/srecord_image.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <optional>

// A firmware file may list its records in any order and may give an address twice. The flash
// takes the image in address order, each address once: a second programming of a cell cannot
// raise a bit the first one cleared.

namespace quillon {
namespace {

bool byAddressThenLine(const ImageRecord& a, const ImageRecord& b) {
  return a.address != b.address ? a.address < b.address : a.line < b.line;
}

bool covers(const ImageRecord& record, std::uint64_t address) {
  return record.address <= address && address < record.end();
}

std::uint8_t byteAt(const SRecordImage& image, const ImageRecord& record, std::uint64_t address) {
  return image.data[record.dataOffset + static_cast<std::size_t>(address - record.address)];
}

// The lowest address below `to` at which `record` disagrees with the records already laid,
// which hold every address from `record`'s start up to `to` that the image has.
std::optional<std::uint64_t> firstDisagreement(const SRecordImage& image,
                                               const std::vector<ImageRecord>& laid,
                                               const ImageRecord& record, std::uint64_t to) {
  // A record holds at most 255 bytes, so this steps back over a few records at most.
  std::size_t first = laid.size();
  while (first > 0 && laid[first - 1].end() > record.address)
    --first;
  for (std::size_t i = first; i < laid.size() && laid[i].address < to; ++i) {
    const std::uint64_t from = std::max<std::uint64_t>(laid[i].address, record.address);
    const std::uint64_t until = std::min(laid[i].end(), to);
    for (std::uint64_t address = from; address < until; ++address) {
      if (byteAt(image, laid[i], address) != byteAt(image, record, address))
        return address;
    }
  }
  return std::nullopt;
}

// Names the lines behind a disagreement at `address`: the first line that gives the address,
// and the first one after it that gives another value.
std::string disagreementText(const SRecordImage& image, std::uint64_t address) {
  const ImageRecord* first = nullptr;
  for (const ImageRecord& record : image.records) {
    if (covers(record, address) && (first == nullptr || record.line < first->line))
      first = &record;
  }
  const std::uint8_t value = byteAt(image, *first, address);
  const ImageRecord* other = nullptr;
  for (const ImageRecord& record : image.records) {
    if (covers(record, address) && byteAt(image, record, address) != value &&
        (other == nullptr || record.line < other->line))
      other = &record;
  }
  char text[96];
  std::snprintf(text, sizeof text,
                "line %" PRIu32 ": address %08" PRIX32
                " already given another value on line %" PRIu32,
                other->line, static_cast<std::uint32_t>(address), first->line);
  return text;
}

bool anyOverlap(const std::vector<ImageRecord>& sorted) {
  std::uint64_t covered = 0;
  for (const ImageRecord& record : sorted) {
    if (record.address < covered)
      return true;
    covered = std::max(covered, record.end());
  }
  return false;
}

} // namespace

bool arrangeByAddress(SRecordImage& image, std::string& refusal) {
  auto& records = image.records;
  if (!std::is_sorted(records.begin(), records.end(), byAddressThenLine))
    std::sort(records.begin(), records.end(), byAddressThenLine);
  if (!anyOverlap(records))
    return true;

  std::vector<ImageRecord> laid;
  laid.reserve(records.size());
  std::optional<std::uint64_t> disagreement;
  for (const ImageRecord& record : records) {
    const std::uint64_t covered = laid.empty() ? 0 : laid.back().end();
    if (record.address >= covered) {
      laid.push_back(record);
      continue;
    }
    const auto at = firstDisagreement(image, laid, record, std::min(record.end(), covered));
    if (at && (!disagreement || *at < *disagreement))
      disagreement = at;
    if (record.end() <= covered)
      continue;
    // The part past what is laid already is new.
    const auto repeated = static_cast<std::uint32_t>(covered - record.address);
    ImageRecord rest = record;
    rest.address += repeated;
    rest.length -= repeated;
    rest.dataOffset += repeated;
    laid.push_back(rest);
  }
  if (disagreement) {
    refusal = disagreementText(image, *disagreement);
    return false;
  }
  records = std::move(laid);
  return true;
}

} // namespace quillon
