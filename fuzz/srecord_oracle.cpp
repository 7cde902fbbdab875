#include "fuzz/srecord_oracle.h"

#include <optional>

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

std::size_t addressBytesOf(char type) {
  switch (type) {
  case '1':
    return 2;
  case '2':
    return 3;
  case '3':
    return 4;
  default:
    return 0;
  }
}

// Empty when the line is acceptable; otherwise what is wrong with it.
std::string checkLine(std::string_view raw, std::vector<OracleRecord>& records) {
  if (raw.size() > kLongestHeldLine)
    return "too long";
  const std::string_view line = trimmedEnd(raw);
  if (line.size() > kLongestRecordLine)
    return "too long";
  if (line.size() < 2 || line[0] != 'S')
    return {};
  const std::size_t addressBytes = addressBytesOf(line[1]);
  if (addressBytes == 0)
    return {};
  const std::string_view hex = line.substr(2);
  std::vector<std::uint8_t> bytes;
  for (char c : hex) {
    if (!hexDigit(c))
      return "bad hex";
  }
  if (hex.size() % 2 != 0)
    return "byte count";
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
  OracleRecord record;
  for (std::size_t i = 1; i <= addressBytes; ++i)
    record.address = record.address * 256 + bytes[i];
  record.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(1 + addressBytes),
                     bytes.end() - 1);
  record.s3 = line[1] == '3';
  // Nothing exists past 0xFFFFFFFF.
  if (record.address + record.data.size() > (std::uint64_t{1} << 32))
    return "address range";
  if (!record.data.empty())
    records.push_back(std::move(record));
  return {};
}

} // namespace

bool beginsWithHeaderRecord(std::string_view file) {
  return file.size() >= 2 && file[0] == 'S' && file[1] == '0';
}

OracleImage readImageOracle(std::string_view file) {
  OracleImage image;
  std::size_t lineNumber = 0;
  while (!file.empty()) {
    ++lineNumber;
    const std::size_t end = file.find('\n');
    const std::string_view line = file.substr(0, end);
    file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
    const std::string wrong = checkLine(line, image.records);
    if (!wrong.empty()) {
      image.refusal = "line " + std::to_string(lineNumber) + ": " + wrong;
      image.records.clear();
      return image;
    }
  }
  image.usable = true;
  return image;
}

} // namespace quillon::fuzz
