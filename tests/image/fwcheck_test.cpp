// quillon-fwcheck as support staff run it: its listing, its refusals and its exit codes, and
// its agreement with the wizard's reader and the virtual Yardmark on what to refuse.

#include "sim/flash_model.h"
#include "sim/srecord_file.h"
#include "tests/image/image_test_support.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <zlib.h>

namespace quillon::test {
namespace {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs quillon-fwcheck, behind `wrapper` (e.g. "timeout 10 ") when one is given.
ToolRun fwcheck(const ScratchFolder& dir, const std::string& arguments,
                const std::string& wrapper = "") {
  ToolRun run;
  const auto out = dir.path("stdout.txt");
  const auto err = dir.path("stderr.txt");
  run.status = runCommand(wrapper + "'" + QUILLON_FWCHECK + "' " + arguments + " >'" +
                          out.string() + "' 2>'" + err.string() + "'");
  run.out = readFile(out);
  run.err = readFile(err);
  return run;
}

TEST(Fwcheck, ListsEveryChunkWithItsCrcAgainstSrecCat) {
  ScratchFolder dir;
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
  EXPECT_EQ(line, "estimated size " + std::to_string(fileLength * 36168 / 100000) +
                      " bytes (file length x 0.36168)");

  const std::regex chunkLine("chunk address 0x([0-9A-F]{8}) length ([0-9]+) crc32 0x([0-9A-F]{8})");
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
  ScratchFolder dir;
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

// Files that describe no one clear image. The wizard's reader and quillon-fwcheck refuse each
// for the same reason, and the virtual Yardmark refuses it too.
TEST(Fwcheck, RefusesWhatTheWizardAndTheVirtualYardmarkRefuse) {
  constexpr std::uint32_t kFlash = 0x2D000000;
  const std::string data = kHeaderLine + contiguousS3(kFlash, 2, 16); // lines 1 to 3
  const std::string third = recordLine(3, kFlash + 32, {1, 2, 3, 4});
  struct Case {
    std::string text;
    std::string refusal;
  };
  const std::vector<Case> cases = {
      {data + " " + third + "\n" + kEndLine, "line 4: not a record"},
      {data + "s" + third.substr(1) + "\n" + kEndLine, "line 4: not a record"},
      {data + std::string(1, '\0') + third + "\n" + kEndLine, "line 4: not a record"},
      {data, "no count or end record after line 3: the file may be cut short"},
      {kHeaderLine + "S5030000FC\nS705000000FFFB\nS804000000FB\nS9030000FC\n",
       "no data records: the file holds no firmware"},
      {data + "S5030003F9\n", "line 4: count says 3 data records, 2 come before it"},
      {data + recordLine(3, kFlash + 8, {8, 0}) + "\n" + kEndLine,
       "line 4: address 2D000009 already given another value on line 2"},
  };
  ScratchFolder dir;
  const auto path = dir.path("fw.mot");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refusal);
    writeFile(path, c.text);
    FirmwareImage image(path.string());
    EXPECT_FALSE(image.isSRecord());
    EXPECT_EQ(image.refusal(), c.refusal);
    const ToolRun run = fwcheck(dir, "'" + path.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "refused: " + c.refusal + "\n");
    sim::FlashModel flash;
    std::string error;
    EXPECT_FALSE(sim::ReadSRecordFile(path.string(), flash, error));
  }

  // A FIFO with no writer: opening it to read must not wait for one.
  const auto fifo = dir.path("fifo.mot");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const ToolRun run = fwcheck(dir, "'" + fifo.string() + "'", "timeout 10 ");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "refused: not a regular file\n");
  sim::FlashModel flash;
  std::string error;
  EXPECT_FALSE(sim::ReadSRecordFile(fifo.string(), flash, error));
}

TEST(Fwcheck, UsageWithoutAFileExitsTwo) {
  ScratchFolder dir;
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
