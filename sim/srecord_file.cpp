#include "sim/srecord_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace quillon::sim {

namespace {

std::optional<std::uint8_t> HexByte(const std::string& line, std::size_t at) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9')
      return c - '0';
    if (c >= 'A' && c <= 'F')
      return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
      return c - 'a' + 10;
    return -1;
  };
  if (at + 1 >= line.size())
    return std::nullopt;
  const int high = nibble(line[at]);
  const int low = nibble(line[at + 1]);
  if (high < 0 || low < 0)
    return std::nullopt;
  return static_cast<std::uint8_t>(high * 16 + low);
}

// Address bytes of each record type; 0 for types that do not exist.
int AddressBytes(char type) {
  switch (type) {
  case '0':
  case '1':
  case '5':
  case '9':
    return 2;
  case '2':
  case '6':
  case '8':
    return 3;
  case '3':
  case '7':
    return 4;
  default:
    return 0;
  }
}

// Checks one line; on success `bytes` holds count, address, data and checksum.
std::string ParseLine(const std::string& line, std::vector<std::uint8_t>& bytes) {
  if (line.size() < 4 || line[0] != 'S')
    return "not an S-record";
  if (AddressBytes(line[1]) == 0)
    return "unknown record type";
  if (line.size() % 2 != 0)
    return "odd number of hex digits";
  bytes.clear();
  for (std::size_t at = 2; at < line.size(); at += 2) {
    const auto value = HexByte(line, at);
    if (!value)
      return "bad hex";
    bytes.push_back(*value);
  }
  if (bytes[0] + 1u != bytes.size())
    return "byte count";
  if (bytes.size() < static_cast<std::size_t>(AddressBytes(line[1])) + 2)
    return "too short";
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    sum += bytes[i];
  if (static_cast<std::uint8_t>(~sum) != bytes.back())
    return "checksum";
  return "";
}

std::string HexOf(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const auto byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

// One record: type, address of `addressBytes` bytes, data, count and checksum around them.
std::string Record(char type, int addressBytes, std::uint32_t address, const std::uint8_t* data,
                   std::size_t count) {
  std::vector<std::uint8_t> bytes;
  bytes.push_back(static_cast<std::uint8_t>(addressBytes + static_cast<int>(count) + 1));
  for (int shift = (addressBytes - 1) * 8; shift >= 0; shift -= 8)
    bytes.push_back(static_cast<std::uint8_t>(address >> shift));
  bytes.insert(bytes.end(), data, data + count);
  unsigned sum = 0;
  for (const auto byte : bytes)
    sum += byte;
  bytes.push_back(static_cast<std::uint8_t>(~sum));
  return std::string("S") + type + HexOf(bytes) + "\n";
}

} // namespace

bool ReadSRecordFile(const std::string& path, FlashModel& image, std::string& error) {
  // A FIFO or a device would hold the reading until someone writes to it.
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    error = path + ": not a regular file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot open";
    return false;
  }
  std::string line;
  std::vector<std::uint8_t> bytes;
  int number = 0;
  std::uint64_t dataRecords = 0;
  char lastType = 0;
  const auto refuse = [&](const std::string& problem) {
    error = path + ": line " + std::to_string(number) + ": " + problem;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (number == 1 && line.rfind("S0", 0) != 0) {
      error = path + ": no S0 header record";
      return false;
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
      line.pop_back();
    if (line.empty())
      continue;
    if (const auto problem = ParseLine(line, bytes); !problem.empty())
      return refuse(problem);
    const char type = line[1];
    lastType = type;
    const int addressBytes = AddressBytes(type);
    std::uint32_t address = 0;
    for (int i = 0; i < addressBytes; ++i)
      address = (address << 8) | bytes[static_cast<std::size_t>(1 + i)];
    if ((type == '5' || type == '6') && address != dataRecords)
      return refuse("the count disagrees with the data records before it");
    if (type != '1' && type != '2' && type != '3')
      continue;
    ++dataRecords;
    const std::size_t dataStart = static_cast<std::size_t>(1 + addressBytes);
    const std::size_t count = bytes.size() - dataStart - 1;
    if (address + std::uint64_t{count} > (std::uint64_t{1} << 32))
      return refuse("data past the top of the address space");
    if (!image.write(address, bytes.data() + dataStart, count))
      return refuse("gives an address another value than an earlier line");
  }
  if (number == 0) {
    error = path + ": no S0 header record";
    return false;
  }
  // Without a count or an end record nothing shows that the file is whole.
  if (lastType < '5') {
    error = path + ": no count or end record after the data";
    return false;
  }
  if (image.segments().empty()) {
    error = path + ": no data records";
    return false;
  }
  return true;
}

std::string FormatS3(const FlashModel& flash) {
  constexpr std::size_t kPerRecord = 32;
  static constexpr std::uint8_t kHeader[] = {'f', 'l', 'a', 's', 'h'};
  std::string text = Record('0', 2, 0, kHeader, sizeof kHeader);
  for (const auto& [address, data] : flash.segments()) {
    for (std::size_t at = 0; at < data.size(); at += kPerRecord) {
      const std::size_t count = std::min(kPerRecord, data.size() - at);
      text += Record('3', 4, static_cast<std::uint32_t>(address + at), data.data() + at, count);
    }
  }
  text += Record('7', 4, 0, nullptr, 0);
  return text;
}

bool WriteS3File(const std::string& path, const FlashModel& flash) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << FormatS3(flash);
  out.close();
  return static_cast<bool>(out);
}

} // namespace quillon::sim
