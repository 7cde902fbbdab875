// The loader says where it wants to go on by an offset from the image's first data address.
// Going forward it reads on; after a restart, a reset byte or a resend it moves back, and the
// flash must then receive the image again from that address, with no holes.

#include "tests/image/image_test_support.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

constexpr std::uint32_t kFlash = 0x2D000000;

class Rewind : public ::testing::Test {
protected:
  FirmwareImage& open(const std::string& body) {
    writeFile(file_, kHeaderLine + body + kEndLine);
    image_ = std::make_unique<FirmwareImage>(file_.string());
    EXPECT_TRUE(image_->isSRecord()) << image_->refusal();
    return *image_;
  }

  ScratchFolder dir_;
  std::filesystem::path file_ = dir_.path("fw.mot");
  std::unique_ptr<FirmwareImage> image_;
};

TEST_F(Rewind, RestartAtZeroSendsTheWholeImageAgain) {
  FirmwareImage& image =
      open(contiguousS3(kFlash, 70, 32) + contiguousS3(kFlash + 4096, 10, 32, 64));
  // Part way through: the first chunk comes again, then the one after it.
  ASSERT_EQ(readChunkAt(image, 0).bytes.size(), 1984U);
  ASSERT_EQ(readChunkAt(image, 1984).address, kFlash + 1984);
  EXPECT_EQ(readChunkAt(image, 0).bytes, countingBytes(1984, 0));
  EXPECT_EQ(readChunkAt(image, 1984).bytes, countingBytes(256, 1984));
  // After the end: every chunk again, the same.
  const std::vector<Chunk> first = readAllChunks(image);
  ASSERT_EQ(first.size(), 3U);
  const std::vector<Chunk> again = readAllChunks(image);
  ASSERT_EQ(again.size(), first.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(again[i].address, first[i].address);
    EXPECT_EQ(again[i].bytes, first[i].bytes);
  }
}

TEST_F(Rewind, OffsetInsideARecordStartsWithItsTail) {
  FirmwareImage& image = open(contiguousS3(kFlash, 70, 32));
  readAllChunks(image);
  // 1000 = 31 records of 32 + 8: the chunk opens with the last 24 bytes of record 31.
  const Chunk chunk = readChunkAt(image, 1000);
  EXPECT_EQ(chunk.address, kFlash + 1000);
  EXPECT_EQ(chunk.bytes, countingBytes(2240 - 1000, 1000));
  EXPECT_TRUE(readChunkAt(image, 2240).bytes.empty());
}

TEST_F(Rewind, ResendAfterEchoedAddressCoversTheRest) {
  // The boot loader echoed the chunk's own address: the loader goes on at address + 1980,
  // four bytes short of where the 1984-byte chunk ended.
  FirmwareImage& image = open(contiguousS3(kFlash, 70, 32));
  ASSERT_EQ(readChunkAt(image, 0).bytes.size(), 1984U);
  const Chunk resent = readChunkAt(image, 1980);
  EXPECT_EQ(resent.address, kFlash + 1980);
  EXPECT_EQ(resent.bytes, countingBytes(260, 1980));
}

TEST_F(Rewind, OffsetInAGapResumesWithTheDataAboveIt) {
  FirmwareImage& image = open(contiguousS3(kFlash, 1, 16) + contiguousS3(kFlash + 256, 1, 16, 16));
  ASSERT_EQ(readAllChunks(image).size(), 2U);
  const Chunk chunk = readChunkAt(image, 100);
  EXPECT_EQ(chunk.address, kFlash + 256);
  EXPECT_EQ(chunk.bytes, countingBytes(16, 16));
}

TEST_F(Rewind, PadByteAndLargerOffsetsReadOnForward) {
  // 201 records of 3 bytes make odd chunks of 603; the loader asks for 604 next.
  FirmwareImage& image = open(contiguousS3(kFlash, 450, 3));
  const Chunk first = readChunkAt(image, 0);
  ASSERT_EQ(first.bytes.size(), 603U);
  const Chunk second = readChunkAt(image, 604);
  EXPECT_EQ(second.address, kFlash + 603);
  EXPECT_EQ(second.bytes, countingBytes(603, 603));
  const Chunk third = readChunkAt(image, 0x00100000);
  EXPECT_EQ(third.address, kFlash + 1206);
  EXPECT_EQ(third.bytes, countingBytes(1350 - 1206, 1206));
}

} // namespace
} // namespace quillon::test
