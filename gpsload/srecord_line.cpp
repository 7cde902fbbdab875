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

struct TypeLayout {
  RecordKind kind;
  std::size_t addressBytes;
};

// The layout of each type digit, S0 to S9; S4 has no use and no layout.
constexpr std::array<TypeLayout, 10> kLayouts = {{{RecordKind::Header, 2},
                                                  {RecordKind::Data, 2},
                                                  {RecordKind::Data, 3},
                                                  {RecordKind::Data, 4},
                                                  {RecordKind::Header, 0},
                                                  {RecordKind::Count, 2},
                                                  {RecordKind::Count, 3},
                                                  {RecordKind::End, 4},
                                                  {RecordKind::End, 3},
                                                  {RecordKind::End, 2}}};

bool layoutOf(char digit, TypeLayout& layout) {
  if (digit < '0' || digit > '9')
    return false;
  layout = kLayouts[static_cast<std::size_t>(digit - '0')];
  return layout.addressBytes != 0;
}

constexpr SRecordType dataTypeOf(std::size_t addressBytes) {
  return addressBytes == 2   ? SRecordType::S1
         : addressBytes == 3 ? SRecordType::S2
                             : SRecordType::S3;
}

} // namespace

const char* verdictText(LineVerdict verdict) {
  switch (verdict) {
  case LineVerdict::Blank:
    return "blank";
  case LineVerdict::Record:
    return "record";
  case LineVerdict::NotARecord:
    return "not a record";
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

LineVerdict decodeRecordLine(std::string_view line, RecordLine& record,
                             std::vector<std::uint8_t>& data) {
  line = withoutTrailingBlanks(line);
  if (line.empty())
    return LineVerdict::Blank;
  if (line.size() > kMaxRecordLineLength)
    return LineVerdict::TooLong;
  // Only an upper-case "S" starts a record. A line that starts any other way is refused, not
  // skipped: skipping a record that a tool wrote in lower case, or behind a blank, would leave
  // a hole in the flash without a word.
  TypeLayout layout{};
  if (line.size() < 2 || line[0] != 'S' || !layoutOf(line[1], layout))
    return LineVerdict::NotARecord;
  const std::size_t addressBytes = layout.addressBytes;

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
  if (layout.kind != RecordKind::Data) {
    record = RecordLine{layout.kind, SRecordType::S3, address, 0};
    return LineVerdict::Record;
  }
  // Bytes beyond 0xFFFFFFFF have no address: a 32-bit load address would wrap round to the
  // bottom of memory, and the flash loader would start the image over and over.
  if (std::uint64_t{address} + (dataEnd - dataBegin) > kAddressSpaceEnd)
    return LineVerdict::AddressRange;
  record = RecordLine{RecordKind::Data, dataTypeOf(addressBytes), address, dataEnd - dataBegin};
  data.insert(data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(dataBegin),
              bytes.begin() + static_cast<std::ptrdiff_t>(dataEnd));
  return LineVerdict::Record;
}

} // namespace quillon
