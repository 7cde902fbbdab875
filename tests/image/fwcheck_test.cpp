// quillon-fwcheck as support staff run it: its listing, its refusals and its exit codes.

#include "tests/image/image_test_support.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <zlib.h>

namespace quillon::test {
namespace {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

ToolRun fwcheck(const TempDir& dir, const std::string& arguments) {
  ToolRun run;
  const auto out = dir.path("stdout.txt");
  const auto err = dir.path("stderr.txt");
  run.status = runCommand(std::string("'") + QUILLON_FWCHECK + "' " + arguments + " >'" +
                          out.string() + "' 2>'" + err.string() + "'");
  run.out = readFile(out);
  run.err = readFile(err);
  return run;
}

TEST(Fwcheck, ListsEveryChunkWithItsCrcAgainstSrecCat) {
  TempDir dir;
  const auto data = randomBytes(7000, 3);
  writeFile(dir.path("fw.bin"), std::string(data.begin(), data.end()));
  ASSERT_EQ(runCommand("cd '" + dir.path("").string() +
                       "' && srec_cat fw.bin -binary -offset 0x2D000000 -o fw.mot -motorola"
                       " -Output_Block_Size 32 -address-length=4 2>/dev/null"),
            0);
  const auto fileLength = std::filesystem::file_size(dir.path("fw.mot"));

  const ToolRun run = fwcheck(dir, "'" + dir.path("fw.mot").string() + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "size " + std::to_string(fileLength * 36168 / 100000));

  const std::regex chunkLine("chunk 0x([0-9A-F]{8}) ([0-9]+) crc32=0x([0-9A-F]{8})");
  std::uint32_t expectedAddress = 0x2D000000;
  std::size_t chunks = 0;
  while (std::getline(lines, line) && line.rfind("chunk", 0) == 0) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, chunkLine)) << line;
    const auto address = static_cast<std::uint32_t>(std::stoul(m[1], nullptr, 16));
    const auto length = std::stoul(m[2]);
    EXPECT_EQ(address, expectedAddress);
    const std::size_t at = address - 0x2D000000U;
    ASSERT_LE(at + length, data.size());
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), data.data() + at, static_cast<uInt>(length));
    EXPECT_EQ(std::stoul(m[3], nullptr, 16), crc) << line;
    expectedAddress += static_cast<std::uint32_t>(length);
    ++chunks;
  }
  EXPECT_EQ(chunks, 4U);
  EXPECT_EQ(line, "total 7000 bytes in 4 chunks");
  EXPECT_FALSE(std::getline(lines, line)) << "output after the total: " << line;
}

TEST(Fwcheck, RefusalGoesToStandardErrorWithExitOne) {
  TempDir dir;
  writeFile(dir.path("bad.mot"),
            kHeaderLine + contiguousS3(0x2D000000, 1, 16) + "S3082D000010010203FF\n");
  ToolRun run = fwcheck(dir, "'" + dir.path("bad.mot").string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "refused: line 3: checksum\n");

  run = fwcheck(dir, "'" + dir.path("missing.mot").string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "refused: cannot open\n");

  writeFile(dir.path("plain.bin"), "not firmware");
  run = fwcheck(dir, "'" + dir.path("plain.bin").string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "refused: not an S-record file\n");
}

TEST(Fwcheck, UsageWithoutAFileExitsTwo) {
  TempDir dir;
  ToolRun run = fwcheck(dir, "");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("usage: quillon-fwcheck FILE"), std::string::npos);
  run = fwcheck(dir, "--help");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.out.find("usage: quillon-fwcheck FILE"), std::string::npos);
  EXPECT_EQ(fwcheck(dir, "a.mot b.mot").status, 2);
}

} // namespace
} // namespace quillon::test
