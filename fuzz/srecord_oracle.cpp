#include "fuzz/srecord_oracle.h"

#include <cstdio>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace quillon::fuzz {
namespace {

// A record line is at most "S", its type and 256 bytes as hex; the reader stops holding a
// line long before it could grow without bound, at four times that.
constexpr std::size_t kLongestRecordLine = 2 + 2 * 256;
constexpr std::size_t kLongestHeldLine = 4 * kLongestRecordLine;

std::optional<unsigned> hexDigit(char c) {
  if (c >= '0' && c <= '9')
    return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F')
    return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f')
    return static_cast<unsigned>(c - 'a' + 10);
  return std::nullopt;
}

std::string_view trimmedEnd(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
    line.remove_suffix(1);
  return line;
}

// Address bytes of a record type; 0 for one that does not exist.
std::size_t addressBytesOf(char type) {
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

struct Reading {
  // Every value each address is given, with its line, in file order.
  std::map<std::uint64_t, std::vector<std::pair<std::size_t, std::uint8_t>>> given;
  std::uint64_t dataRecords = 0;
  char lastType = 0;
  std::size_t lastLine = 0;
};

// Empty when the line is acceptable; otherwise what is wrong with it.
std::string checkLine(std::string_view raw, std::size_t number, Reading& reading) {
  if (raw.size() > kLongestHeldLine)
    return "too long";
  const std::string_view line = trimmedEnd(raw);
  if (line.empty())
    return {};
  if (line.size() > kLongestRecordLine)
    return "too long";
  if (line.size() < 2 || line[0] != 'S' || addressBytesOf(line[1]) == 0)
    return "not a record";
  const char type = line[1];
  const std::size_t addressBytes = addressBytesOf(type);
  const std::string_view hex = line.substr(2);
  for (char c : hex) {
    if (!hexDigit(c))
      return "bad hex";
  }
  if (hex.size() % 2 != 0)
    return "byte count";
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(*hexDigit(hex[i]) * 16 + *hexDigit(hex[i + 1])));
  // Count, address, checksum at the least; the count covers everything after itself.
  if (bytes.size() < addressBytes + 2 || bytes[0] != bytes.size() - 1)
    return "byte count";
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    sum += bytes[i];
  if (static_cast<std::uint8_t>(0xFF - (sum & 0xFF)) != bytes.back())
    return "checksum";
  std::uint64_t address = 0;
  for (std::size_t i = 1; i <= addressBytes; ++i)
    address = address * 256 + bytes[i];
  reading.lastType = type;
  reading.lastLine = number;
  if (type == '5' || type == '6') {
    if (address != reading.dataRecords)
      return "count says " + std::to_string(address) + " data records, " +
             std::to_string(reading.dataRecords) + " come before it";
    return {};
  }
  if (type != '1' && type != '2' && type != '3')
    return {};
  ++reading.dataRecords;
  const std::size_t dataBytes = bytes.size() - addressBytes - 2;
  // Nothing exists past 0xFFFFFFFF.
  if (address + dataBytes > (std::uint64_t{1} << 32))
    return "address range";
  for (std::size_t i = 0; i < dataBytes; ++i)
    reading.given[address + i].emplace_back(number, bytes[1 + addressBytes + i]);
  return {};
}

// The refusal for the lowest address given two values; empty when there is none.
std::string disagreement(const Reading& reading) {
  for (const auto& [address, values] : reading.given) {
    for (const auto& [line, value] : values) {
      if (value == values.front().second)
        continue;
      char text[96];
      std::snprintf(text, sizeof text,
                    "line %zu: address %08llX already given another value on line %zu", line,
                    static_cast<unsigned long long>(address), values.front().first);
      return text;
    }
  }
  return {};
}

} // namespace

bool beginsWithHeaderRecord(std::string_view file) {
  return file.size() >= 2 && file[0] == 'S' && file[1] == '0';
}

OracleImage readImageOracle(std::string_view file) {
  OracleImage image;
  Reading reading;
  std::size_t number = 0;
  while (!file.empty()) {
    ++number;
    const std::size_t end = file.find('\n');
    const std::string_view line = file.substr(0, end);
    file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
    if (const std::string wrong = checkLine(line, number, reading); !wrong.empty()) {
      image.refusal = "line " + std::to_string(number) + ": " + wrong;
      return image;
    }
  }
  if (reading.lastType < '5') {
    image.refusal = "no count or end record after line " + std::to_string(reading.lastLine) +
                    ": the file may be cut short";
    return image;
  }
  if (reading.given.empty()) {
    image.refusal = "no data records: the file holds no firmware";
    return image;
  }
  image.refusal = disagreement(reading);
  if (!image.refusal.empty())
    return image;
  for (const auto& [address, values] : reading.given)
    image.bytes[static_cast<std::uint32_t>(address)] = values.front().second;
  image.usable = true;
  return image;
}

} // namespace quillon::fuzz
