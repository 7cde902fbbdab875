#include "sim/flash_model.h"

#include <algorithm>

namespace quillon::sim {

template <typename Store>
void FlashModel::forEachCell(std::uint32_t address, std::size_t count, Store store) {
  for (std::size_t i = 0; i < count; ++i) {
    // Addresses wrap at the top of the 32-bit space, as the chip's address bus does.
    const auto cell = static_cast<std::uint32_t>(address + i);
    Page& page = pages_[cell >> kPageBits];
    const std::uint32_t offset = cell & (kPageSize - 1);
    store(page, offset, i);
    page.programmed.set(offset);
  }
}

bool FlashModel::write(std::uint32_t address, const std::uint8_t* data, std::size_t count) {
  bool consistent = true;
  forEachCell(address, count, [&](Page& page, std::uint32_t offset, std::size_t i) {
    if (page.programmed.test(offset) && page.data[offset] != data[i])
      consistent = false;
    page.data[offset] = data[i];
  });
  return consistent;
}

void FlashModel::program(std::uint32_t address, const std::uint8_t* data, std::size_t count) {
  forEachCell(address, count, [&](Page& page, std::uint32_t offset, std::size_t i) {
    page.data[offset] = static_cast<std::uint8_t>(page.data[offset] & data[i]);
  });
}

void FlashModel::erase(std::uint32_t first, std::uint32_t last) {
  if (first > last)
    return;
  auto page = pages_.lower_bound(first >> kPageBits);
  while (page != pages_.end() && page->first <= (last >> kPageBits)) {
    const std::uint32_t base = page->first << kPageBits;
    for (std::uint32_t offset = 0; offset < kPageSize; ++offset) {
      const std::uint32_t cell = base + offset;
      if (cell >= first && cell <= last) {
        page->second.data[offset] = 0xFF;
        page->second.programmed.reset(offset);
      }
    }
    page = page->second.programmed.none() ? pages_.erase(page) : std::next(page);
  }
}

bool FlashModel::readsErased(const Page& page) {
  return std::all_of(page.data.begin(), page.data.end(), [](std::uint8_t b) { return b == 0xFF; });
}

bool FlashModel::operator==(const FlashModel& other) const {
  // Cells that were never programmed hold 0xFF, as erased flash reads; a page missing on one
  // side must read erased on the other.
  auto mine = pages_.begin();
  auto theirs = other.pages_.begin();
  while (mine != pages_.end() || theirs != other.pages_.end()) {
    if (theirs == other.pages_.end() || (mine != pages_.end() && mine->first < theirs->first)) {
      if (!readsErased((mine++)->second))
        return false;
    } else if (mine == pages_.end() || theirs->first < mine->first) {
      if (!readsErased((theirs++)->second))
        return false;
    } else if ((mine++)->second.data != (theirs++)->second.data) {
      return false;
    }
  }
  return true;
}

std::size_t FlashModel::programmedCount() const {
  std::size_t count = 0;
  for (const auto& [number, page] : pages_)
    count += page.programmed.count();
  return count;
}

std::vector<FlashModel::Segment> FlashModel::segments() const {
  std::vector<Segment> runs;
  bool open = false;
  std::uint32_t nextCell = 0;
  for (const auto& [number, page] : pages_) {
    const std::uint32_t base = number << kPageBits;
    for (std::uint32_t offset = 0; offset < kPageSize; ++offset) {
      if (!page.programmed.test(offset)) {
        open = false;
        continue;
      }
      const std::uint32_t cell = base + offset;
      if (!open || cell != nextCell) {
        runs.push_back({cell, {}});
        open = true;
      }
      runs.back().second.push_back(page.data[offset]);
      nextCell = cell + 1;
    }
  }
  return runs;
}

} // namespace quillon::sim
