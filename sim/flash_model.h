#pragma once

#include <bitset>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace quillon::sim {

// Flash memory as the GPS chip holds it: bytes that were programmed, by address. Erased cells
// read 0xFF; programming can only clear bits, as real flash does, so a host that programs
// over unerased data leaves a mismatch behind. Also used for the firmware file's data (there
// every write simply stores the byte).
class FlashModel {
public:
  using Segment = std::pair<std::uint32_t, std::vector<std::uint8_t>>;

  // Stores bytes as they are (a firmware file's data). False when a cell already held another
  // value: a file that gives one address two values describes no image.
  bool write(std::uint32_t address, const std::uint8_t* data, std::size_t count);
  // Programs bytes: each cell keeps old AND new.
  void program(std::uint32_t address, const std::uint8_t* data, std::size_t count);
  // Erases every cell from first to last, both included.
  void erase(std::uint32_t first, std::uint32_t last);

  std::size_t programmedCount() const;
  // Runs of programmed bytes in address order.
  std::vector<Segment> segments() const;
  // Every cell reads the same. A cell programmed with 0xFF reads as an erased one: a host may
  // pad a half-filled word with it, and that programs nothing.
  bool operator==(const FlashModel& other) const;

private:
  static constexpr std::uint32_t kPageBits = 12;
  static constexpr std::uint32_t kPageSize = 1u << kPageBits;
  struct Page {
    std::vector<std::uint8_t> data = std::vector<std::uint8_t>(kPageSize, 0xFF);
    std::bitset<kPageSize> programmed;
  };
  template <typename Store> void forEachCell(std::uint32_t address, std::size_t count, Store store);
  static bool readsErased(const Page& page);

  std::map<std::uint32_t, Page> pages_; // by page number
};

} // namespace quillon::sim
