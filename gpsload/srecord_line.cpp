#include "gpsload/srecord_line.h"

#include <array>

namespace quillon {
namespace {

constexpr std::int8_t kNotHex = -1;
// One past the highest address a record's byte may have.
constexpr std::uint64_t kAddressSpaceEnd = std::uint64_t{1} << 32;

constexpr std::array<std::int8_t, 256> makeHexTable() {
  std::array<std::int8_t, 256> table{};
  table.fill(kNotHex);
  for (int i = 0; i < 10; ++i)
    table[static_cast<std::size_t>('0' + i)] = static_cast<std::int8_t>(i);
  for (int i = 0; i < 6; ++i) {
    table[static_cast<std::size_t>('A' + i)] = static_cast<std::int8_t>(10 + i);
    table[static_cast<std::size_t>('a' + i)] = static_cast<std::int8_t>(10 + i);
  }
  return table;
}

constexpr std::array<std::int8_t, 256> kHexValue = makeHexTable();

int hexValue(char c) {
  return kHexValue[static_cast<unsigned char>(c)];
}

std::string_view withoutTrailingBlanks(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r' ||
                           line.back() == '\n')) {
    line.remove_suffix(1);
  }
  return line;
}

bool typeOf(char digit, SRecordType& type, std::size_t& addressBytes) {
  switch (digit) {
  case '1':
    type = SRecordType::S1;
    addressBytes = 2;
    return true;
  case '2':
    type = SRecordType::S2;
    addressBytes = 3;
    return true;
  case '3':
    type = SRecordType::S3;
    addressBytes = 4;
    return true;
  default:
    return false;
  }
}

} // namespace

const char* verdictText(LineVerdict verdict) {
  switch (verdict) {
  case LineVerdict::NotData:
    return "not a data record";
  case LineVerdict::Data:
    return "data record";
  case LineVerdict::BadHex:
    return "bad hex";
  case LineVerdict::ByteCount:
    return "byte count";
  case LineVerdict::Checksum:
    return "checksum";
  case LineVerdict::TooLong:
    return "too long";
  case LineVerdict::AddressRange:
    return "address range";
  }
  return "unknown";
}

LineVerdict decodeRecordLine(std::string_view line, DataRecordHeader& header,
                             std::vector<std::uint8_t>& data) {
  line = withoutTrailingBlanks(line);
  if (line.size() > kMaxRecordLineLength)
    return LineVerdict::TooLong;
  SRecordType type{};
  std::size_t addressBytes = 0;
  if (line.size() < 2 || line[0] != 'S' || !typeOf(line[1], type, addressBytes)) {
    return LineVerdict::NotData;
  }

  // Count, address, data and checksum, as bytes. The length test above bounds them.
  const std::string_view digits = line.substr(2);
  std::array<std::uint8_t, (kMaxRecordLineLength - 2) / 2> bytes{};
  const std::size_t byteTotal = digits.size() / 2;
  for (std::size_t i = 0; i < byteTotal; ++i) {
    const int high = hexValue(digits[2 * i]);
    const int low = hexValue(digits[2 * i + 1]);
    if (high == kNotHex || low == kNotHex)
      return LineVerdict::BadHex;
    bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  if (digits.size() % 2 != 0) {
    return hexValue(digits.back()) == kNotHex ? LineVerdict::BadHex : LineVerdict::ByteCount;
  }
  // The count covers address, data and checksum; the line must hold exactly that.
  if (byteTotal < 1 + addressBytes + 1 || bytes[0] != byteTotal - 1)
    return LineVerdict::ByteCount;

  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < byteTotal; ++i)
    sum += bytes[i];
  if (static_cast<std::uint8_t>(~sum) != bytes[byteTotal - 1])
    return LineVerdict::Checksum;

  std::uint32_t address = 0;
  for (std::size_t i = 1; i <= addressBytes; ++i)
    address = (address << 8) | bytes[i];
  const std::size_t dataBegin = 1 + addressBytes;
  const std::size_t dataEnd = byteTotal - 1;
  // Bytes beyond 0xFFFFFFFF have no address: a 32-bit load address would wrap round to the
  // bottom of memory, and the flash loader would start the image over and over.
  if (std::uint64_t{address} + (dataEnd - dataBegin) > kAddressSpaceEnd)
    return LineVerdict::AddressRange;
  header = DataRecordHeader{type, address, dataEnd - dataBegin};
  data.insert(data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(dataBegin),
              bytes.begin() + static_cast<std::ptrdiff_t>(dataEnd));
  return LineVerdict::Data;
}

} // namespace quillon
