// The image against srec_cat: random binaries written as S-record files by srec_cat must come
// back from the image byte for byte, at the addresses srec_cat's own binary conversion puts
// them, in chunks the loader can send.

#include "tests/image/image_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace quillon::test {
namespace {

struct Layout {
  int type;       // 1, 2 or 3
  int recordSize; // srec_cat's output block size
  bool crlf;
  std::uint32_t base; // first data address
  std::uint32_t gap;  // hole between the two pieces of data
};

std::ostream& operator<<(std::ostream& out, const Layout& l) {
  return out << "S" << l.type << " records of " << l.recordSize << (l.crlf ? " CRLF" : " LF")
             << " gap " << l.gap;
}

struct Range {
  std::uint64_t first;
  std::uint64_t last;
};

// The address ranges srec_info reports for a file.
std::vector<Range> rangesOf(const std::filesystem::path& mot) {
  const std::string info = commandOutput("srec_info '" + mot.string() + "' 2>/dev/null");
  const std::regex range("([0-9A-F]+) - ([0-9A-F]+)");
  std::vector<Range> ranges;
  for (std::sregex_iterator it(info.begin(), info.end(), range), end; it != end; ++it) {
    ranges.push_back({std::stoull((*it)[1], nullptr, 16), std::stoull((*it)[2], nullptr, 16)});
  }
  return ranges;
}

// Where each data record of the file starts, read from the address field of its line.
std::vector<std::uint64_t> recordStarts(const std::string& mot, int type) {
  std::vector<std::uint64_t> starts;
  std::istringstream lines(mot);
  const std::string prefix = "S" + std::to_string(type);
  const auto digits = static_cast<std::size_t>(2 * (type + 1));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(prefix, 0) == 0)
      starts.push_back(std::stoull(line.substr(4, digits), nullptr, 16));
  }
  return starts;
}

class SrecCatOracle : public ::testing::TestWithParam<Layout> {};

TEST_P(SrecCatOracle, ChunksMatchSrecCatBinaryConversion) {
  const Layout layout = GetParam();
  ScratchFolder dir;
  const auto first = randomBytes(5000, 11);
  const auto second = randomBytes(3333, 12);
  writeFile(dir.path("a.bin"), std::string(first.begin(), first.end()));
  writeFile(dir.path("b.bin"), std::string(second.begin(), second.end()));
  const std::uint32_t secondBase = layout.base + 5000 + layout.gap;
  std::ostringstream make;
  make << "cd '" << dir.path("").string() << "' && srec_cat a.bin -binary -offset " << layout.base
       << " b.bin -binary -offset " << secondBase
       << " -o image.mot -motorola -address-length=" << layout.type + 1 << " -Output_Block_Size "
       << layout.recordSize << (layout.crlf ? " -line-termination=crlf" : "") << " 2>/dev/null"
       << " && srec_cat image.mot -motorola -offset -" << layout.base
       << " -o image.bin -binary 2>/dev/null";
  ASSERT_EQ(runCommand(make.str()), 0);
  ASSERT_EQ(readFile(dir.path("image.mot")).find("\r\n") != std::string::npos, layout.crlf);
  const std::string oracle = readFile(dir.path("image.bin"));
  const std::vector<std::uint64_t> starts =
      recordStarts(readFile(dir.path("image.mot")), layout.type);
  const std::vector<Range> ranges = rangesOf(dir.path("image.mot"));
  ASSERT_EQ(ranges.size(), layout.gap == 0 ? 1U : 2U);

  FirmwareImage image(dir.path("image.mot").string());
  ASSERT_TRUE(image.isSRecord()) << image.refusal();
  const std::vector<Chunk> chunks = readAllChunks(image);
  ASSERT_FALSE(chunks.empty());

  std::size_t next = 0;
  for (const Range& range : ranges) {
    std::uint64_t expected = range.first;
    while (expected <= range.last) {
      ASSERT_LT(next, chunks.size()) << "data missing from 0x" << std::hex << expected;
      const Chunk& chunk = chunks[next++];
      ASSERT_EQ(chunk.address, expected) << "chunk " << next - 1;
      const std::size_t at = chunk.address - layout.base;
      ASSERT_LE(at + chunk.bytes.size(), oracle.size());
      EXPECT_EQ(std::string(chunk.bytes.begin(), chunk.bytes.end()),
                oracle.substr(at, chunk.bytes.size()))
          << "bytes differ in the chunk at 0x" << std::hex << chunk.address;
      expected += chunk.bytes.size();
      // Records are never split, so each chunk starts and ends on record boundaries.
      const auto opening = std::find(starts.begin(), starts.end(), chunk.address);
      const auto past =
          std::find_if(opening, starts.end(), [&](auto start) { return start >= expected; });
      ASSERT_NE(opening, starts.end()) << "a chunk starts inside a record";
      ASSERT_TRUE(expected == range.last + 1 || (past != starts.end() && *past == expected))
          << "a chunk ends inside a record";
      const auto records = std::distance(opening, past);
      if (layout.type != 3) {
        EXPECT_EQ(records, 1) << "S1 and S2 records are chunks of their own";
      } else if (expected != range.last + 1) {
        EXPECT_TRUE(chunk.bytes.size() >= 1980 || records == 201)
            << "an S3 chunk closed early: " << records << " records, " << chunk.bytes.size()
            << " bytes";
      }
      EXPECT_LE(chunk.bytes.size(), static_cast<std::size_t>(1979 + layout.recordSize));
    }
    ASSERT_EQ(expected, range.last + 1) << "a chunk ran past the data";
  }
  EXPECT_EQ(next, chunks.size()) << "chunks beyond the file's data";
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SrecCatOracle,
    ::testing::Values(Layout{1, 16, false, 0x1000, 0x40}, Layout{1, 32, true, 0x0100, 0},
                      Layout{2, 32, false, 0x12000, 0x1003}, Layout{2, 64, true, 0x0FF00, 7},
                      Layout{3, 32, false, 0x2D000000, 0x100}, Layout{3, 32, true, 0x2D000000, 0},
                      Layout{3, 16, true, 0x2D000010, 0x20000}, Layout{3, 4, false, 0x2D000000, 1},
                      Layout{3, 7, false, 0x2D000003, 0x10},
                      Layout{3, 250, true, 0x2D000000, 0x8}));

} // namespace
} // namespace quillon::test
