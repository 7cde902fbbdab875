// Which files are refused before any device is touched, with what reason, and the size
// estimate and plain-file reading that do not depend on S-records.

#include "gpsload/srecord_image.h"
#include "tests/image/image_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

constexpr std::uint32_t kFlash = 0x2D000000;

class Refusal : public ::testing::Test {
protected:
  // Opens `text` as a firmware file and checks it is refused for `reason` and yields nothing.
  void expectRefused(const std::string& text, const std::string& reason) {
    writeFile(file_, text);
    FirmwareImage image(file_.string());
    EXPECT_EQ(image.check(), ImageCheck::Damaged);
    EXPECT_FALSE(image.isSRecord());
    EXPECT_EQ(image.refusal(), reason);
    EXPECT_EQ(readChunkAt(image, 0).bytes.size(), 0U) << "a refused image handed out data";
  }

  ScratchFolder dir_;
  std::filesystem::path file_ = dir_.path("fw.mot");
};

TEST_F(Refusal, MissingFileCannotBeOpened) {
  FirmwareImage image(dir_.path("absent.mot").string());
  EXPECT_EQ(image.check(), ImageCheck::CannotOpen);
  EXPECT_FALSE(image.opened());
  EXPECT_EQ(image.refusal(), "cannot open");
}

TEST_F(Refusal, FileNotBeginningWithHeaderIsNotSRecords) {
  writeFile(file_, contiguousS3(kFlash, 2, 16));
  FirmwareImage image(file_.string());
  EXPECT_EQ(image.check(), ImageCheck::NotSRecords);
  EXPECT_TRUE(image.opened());
  EXPECT_EQ(image.refusal(), "not an S-record file");
  writeFile(file_, "S");
  EXPECT_EQ(FirmwareImage(file_.string()).refusal(), "not an S-record file");
}

TEST_F(Refusal, WrongChecksumNamesItsLine) {
  std::string bad = recordLine(3, kFlash + 38 * 16, std::vector<std::uint8_t>(16, 0x5A));
  bad[bad.size() - 1] = bad.back() == '0' ? '1' : '0';
  expectRefused(kHeaderLine + contiguousS3(kFlash, 38, 16) + bad + "\n", "line 40: checksum");
}

TEST_F(Refusal, ByteCountDisagreeingWithLineIsRefused) {
  const std::string good = recordLine(3, kFlash, {1, 2, 3, 4});
  expectRefused(kHeaderLine + good.substr(0, good.size() - 2) + "\n", "line 2: byte count");
  expectRefused(kHeaderLine + good + "00\n", "line 2: byte count");
  expectRefused(kHeaderLine + "S1020000FD\n", "line 2: byte count"); // too small for an address
}

TEST_F(Refusal, DataPastTheTopOfTheAddressSpaceIsRefused) {
  // The last byte may sit at 0xFFFFFFFF; one more would wrap the loader's address to 0.
  const std::string top = recordLine(3, 0xFFFFFFF0, std::vector<std::uint8_t>(16, 0x11));
  writeFile(file_, kHeaderLine + top + "\n" + kEndLine);
  EXPECT_TRUE(FirmwareImage(file_.string()).isSRecord());
  const std::string across = recordLine(3, 0xFFFFFFF8, std::vector<std::uint8_t>(16, 0x22));
  expectRefused(kHeaderLine + contiguousS3(kFlash, 2, 16) + across + "\n", "line 4: address range");
}

TEST_F(Refusal, NonHexDigitIsRefused) {
  std::string line = recordLine(2, 0x10000, {1, 2, 3, 4});
  line[10] = 'G';
  expectRefused(kHeaderLine + line + "\n", "line 2: bad hex");
}

TEST_F(Refusal, LineLongerThanAnyRecordIsRefusedNotSplit) {
  // 515 characters: one more digit pair than the longest record could hold, with an S3
  // record hidden where a reader that splits long lines would start a second piece.
  const std::string hidden = recordLine(3, kFlash, {9, 9});
  const std::string longLine = "S3" + std::string(513 - hidden.size(), '0') + hidden;
  ASSERT_EQ(longLine.size(), 515U);
  expectRefused(kHeaderLine + contiguousS3(kFlash, 1, 4) + longLine + "\n", "line 3: too long");
  expectRefused(kHeaderLine + "Sx" + std::string(100000, 'A'), "line 2: too long");
}

TEST_F(Refusal, FailedReadIsRefused) {
  // A file whose storage fails after its first block, as a disk error would.
  const std::string block = kHeaderLine + contiguousS3(kFlash, 4, 16) + kEndLine;
  bool handedOut = false;
  const BlockReader failing = [&](char* into, std::size_t room) -> std::ptrdiff_t {
    if (handedOut)
      return -1;
    handedOut = true;
    const std::size_t count = std::min(room, block.size());
    block.copy(into, count);
    return static_cast<std::ptrdiff_t>(count);
  };
  SRecordImage image;
  std::string refusal;
  EXPECT_FALSE(loadSRecordImage(failing, image, refusal));
  EXPECT_EQ(refusal, "cannot read");
  EXPECT_TRUE(image.records.empty());
}

TEST_F(Refusal, DirectoryIsNotUsable) {
  FirmwareImage image(dir_.path("").string());
  EXPECT_EQ(image.check(), ImageCheck::NotRegularFile);
  EXPECT_TRUE(image.opened());
  EXPECT_EQ(image.refusal(), "not a regular file");
  EXPECT_EQ(readChunkAt(image, 0).bytes.size(), 0U);
}

TEST(ImagePath, LongerThan255CharactersWorks) {
  ScratchFolder dir;
  std::filesystem::path deep = dir.path("");
  for (int i = 0; i < 5; ++i)
    deep /= std::string(60, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  const auto file = deep / "firmware-with-a-long-name.mot";
  ASSERT_GT(file.string().size(), 300U);
  writeFile(file, kHeaderLine + contiguousS3(kFlash, 3, 16) + kEndLine);
  FirmwareImage image(file.string());
  ASSERT_TRUE(image.isSRecord()) << image.refusal();
  EXPECT_EQ(readChunkAt(image, 0).bytes.size(), 48U);
}

// A file of exactly `length` bytes that begins with the header and is otherwise usable.
std::string usableFileOfLength(std::size_t length) {
  std::string text = kHeaderLine + contiguousS3(kFlash, 2, 16) + kEndLine;
  text.append(length - text.size(), '\n');
  return text;
}

TEST(ImageSize, EstimatedFromFileLength) {
  ScratchFolder dir;
  writeFile(dir.path("a.mot"), usableFileOfLength(100000));
  FirmwareImage large(dir.path("a.mot").string());
  EXPECT_TRUE(large.isSRecord());
  EXPECT_EQ(large.size(), 36168);
  writeFile(dir.path("b.mot"), usableFileOfLength(1000));
  EXPECT_EQ(FirmwareImage(dir.path("b.mot").string()).size(), 361);
  writeFile(dir.path("c.bin"), std::string(100000, 'x'));
  EXPECT_EQ(FirmwareImage(dir.path("c.bin").string()).size(), 100000);
}

TEST(PlainImage, ReadsTheFileAtTheOffsetAsked) {
  ScratchFolder dir;
  const auto bytes = randomBytes(5000, 7);
  writeFile(dir.path("fw.bin"), "XY" + std::string(bytes.begin() + 2, bytes.end()));
  FirmwareImage image(dir.path("fw.bin").string());
  ASSERT_FALSE(image.isSRecord());
  Chunk chunk = readChunkAt(image, 1000);
  EXPECT_EQ(chunk.address, 1000U);
  EXPECT_EQ(chunk.bytes, std::vector<std::uint8_t>(bytes.begin() + 1000, bytes.begin() + 2980));
  EXPECT_EQ(readChunkAt(image, 4000).bytes.size(), 1000U);
  EXPECT_EQ(readChunkAt(image, 10).bytes,
            std::vector<std::uint8_t>(bytes.begin() + 10, bytes.begin() + 1990));
  EXPECT_EQ(readChunkAt(image, 5000).bytes.size(), 0U);
  EXPECT_EQ(readChunkAt(image, 0xFFFFFFF0).bytes.size(), 0U);
}

} // namespace
} // namespace quillon::test
