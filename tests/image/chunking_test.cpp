// How a valid image is cut into the chunks the loader sends, on files built record by record.

#include "tests/image/image_test_support.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

constexpr std::uint32_t kFlash = 0x2D000000;

class Chunking : public ::testing::Test {
protected:
  // The chunks of a file of the header, `body` and an end record.
  std::vector<Chunk> chunksOf(const std::string& body,
                              int capacity = FirmwareImage::kLoaderCapacity) {
    return chunksOfFile(kHeaderLine + body + kEndLine, capacity);
  }
  std::vector<Chunk> chunksOfFile(const std::string& text,
                                  int capacity = FirmwareImage::kLoaderCapacity) {
    writeFile(file_, text);
    FirmwareImage image(file_.string());
    EXPECT_TRUE(image.isSRecord()) << image.refusal();
    return readAllChunks(image, capacity);
  }

  ScratchFolder dir_;
  std::filesystem::path file_ = dir_.path("fw.mot");
};

TEST_F(Chunking, FortyRecordsMakeOneChunk) {
  const auto chunks = chunksOf(contiguousS3(kFlash, 40, 32) + "S7052D000000CD\n");
  ASSERT_EQ(chunks.size(), 1U);
  EXPECT_EQ(chunks[0].address, kFlash);
  EXPECT_EQ(chunks[0].bytes, countingBytes(1280, 0));
}

TEST_F(Chunking, RecordThatReachesCapacityIsTakenWhole) {
  const auto chunks = chunksOf(contiguousS3(kFlash, 70, 32));
  ASSERT_EQ(chunks.size(), 2U);
  EXPECT_EQ(chunks[0].bytes.size(), 1984U);
  EXPECT_EQ(chunks[1].address, kFlash + 1984);
  EXPECT_EQ(chunks[1].bytes, countingBytes(256, 1984));
}

TEST_F(Chunking, ChunkClosesOnReachingCapacityExactly) {
  const auto chunks = chunksOf(contiguousS3(kFlash, 100, 20));
  ASSERT_EQ(chunks.size(), 2U);
  EXPECT_EQ(chunks[0].bytes.size(), 1980U);
  EXPECT_EQ(chunks[1].bytes.size(), 20U);
}

TEST_F(Chunking, GapStartsNewChunkAtItsOwnAddress) {
  const auto chunks = chunksOf(contiguousS3(kFlash, 1, 16) + contiguousS3(kFlash + 256, 1, 16, 16));
  ASSERT_EQ(chunks.size(), 2U);
  EXPECT_EQ(chunks[0].address, kFlash);
  EXPECT_EQ(chunks[0].bytes, countingBytes(16, 0));
  EXPECT_EQ(chunks[1].address, kFlash + 256);
  EXPECT_EQ(chunks[1].bytes, countingBytes(16, 16));
}

TEST_F(Chunking, RecordsInAnyOrderComeInAddressOrderEachAddressOnce) {
  // The second half first, then the first half, then bytes 8 to 23 again with their values.
  const auto chunks = chunksOf(contiguousS3(kFlash + 32, 2, 16, 32) + contiguousS3(kFlash, 2, 16) +
                               recordLine(3, kFlash + 8, countingBytes(16, 8)) + "\n");
  ASSERT_EQ(chunks.size(), 1U);
  EXPECT_EQ(chunks[0].address, kFlash);
  EXPECT_EQ(chunks[0].bytes, countingBytes(64, 0));
}

TEST_F(Chunking, AtMost201RecordsInAChunk) {
  const auto chunks = chunksOf(contiguousS3(kFlash, 250, 4));
  ASSERT_EQ(chunks.size(), 2U);
  EXPECT_EQ(chunks[0].bytes.size(), 804U);
  EXPECT_EQ(chunks[1].address, kFlash + 804);
  EXPECT_EQ(chunks[1].bytes.size(), 49U * 4);
}

TEST_F(Chunking, RecordsWithoutDataAreSkippedNotEndOfImage) {
  // An empty S1 first (count 3), an empty S3 (count 5) in the middle of a run.
  const std::string body = recordLine(1, 0x1234, {}) + "\n" + contiguousS3(kFlash, 2, 8) +
                           recordLine(3, kFlash + 16, {}) + "\n" +
                           contiguousS3(kFlash + 16, 2, 8, 16);
  const auto chunks = chunksOf(body);
  ASSERT_EQ(chunks.size(), 1U);
  EXPECT_EQ(chunks[0].address, kFlash);
  EXPECT_EQ(chunks[0].bytes, countingBytes(32, 0));
}

TEST_F(Chunking, S1AndS2RecordsAreChunksOfTheirOwn) {
  const std::string body = recordLine(1, 0x0100, countingBytes(4, 1)) + "\n" +
                           recordLine(1, 0x0104, countingBytes(4, 5)) + "\n" +
                           recordLine(2, 0x012345, countingBytes(3, 9)) + "\n";
  const auto chunks = chunksOf(body);
  ASSERT_EQ(chunks.size(), 3U);
  EXPECT_EQ(chunks[0].address, 0x0100U);
  EXPECT_EQ(chunks[1].address, 0x0104U);
  EXPECT_EQ(chunks[1].bytes, countingBytes(4, 5));
  EXPECT_EQ(chunks[2].address, 0x012345U);
  EXPECT_EQ(chunks[2].bytes, countingBytes(3, 9));
}

TEST_F(Chunking, S1BetweenS3sClosesTheChunkAndIsKept) {
  // The S1 record follows on from the S3 data, and still is a chunk of its own.
  const std::string body = contiguousS3(0x0100, 3, 8) + recordLine(1, 0x0118, {0xAA, 0xBB}) + "\n" +
                           contiguousS3(0x011A, 2, 8, 24);
  const auto chunks = chunksOf(body);
  ASSERT_EQ(chunks.size(), 3U);
  EXPECT_EQ(chunks[0].bytes, countingBytes(24, 0));
  EXPECT_EQ(chunks[1].address, 0x0118U);
  EXPECT_EQ(chunks[1].bytes, (std::vector<std::uint8_t>{0xAA, 0xBB}));
  EXPECT_EQ(chunks[2].address, 0x011AU);
  EXPECT_EQ(chunks[2].bytes, countingBytes(16, 24));
}

TEST_F(Chunking, LongestLegalRecordIsReadWhole) {
  const std::string line = recordLine(3, kFlash, countingBytes(250, 3));
  ASSERT_EQ(line.size(), 514U);
  const auto chunks = chunksOf(line + "\r\n" + contiguousS3(kFlash + 250, 1, 6, 253));
  ASSERT_EQ(chunks.size(), 1U);
  EXPECT_EQ(chunks[0].bytes, countingBytes(256, 3));
}

TEST_F(Chunking, LineEndsCaseAndMissingFinalLineEndReadAlike) {
  std::string lower = contiguousS3(kFlash, 4, 16);
  for (auto& c : lower) {
    if (c >= 'A' && c <= 'F')
      c = static_cast<char>(c - 'A' + 'a');
  }
  std::string crlf;
  for (char c : contiguousS3(kFlash + 64, 4, 16, 64))
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string text = kHeaderLine + lower + crlf +
                           recordLine(3, kFlash + 128, countingBytes(16, 128)) + "  \n" +
                           kEndLine.substr(0, kEndLine.size() - 1);
  const auto chunks = chunksOfFile(text);
  ASSERT_EQ(chunks.size(), 1U);
  EXPECT_EQ(chunks[0].bytes, countingBytes(144, 0));
}

TEST_F(Chunking, TinyCapacityNeverOverrunsTheBuffer) {
  writeFile(file_, kHeaderLine + recordLine(1, 0x0100, countingBytes(252, 0)) + "\n" + kEndLine);
  FirmwareImage image(file_.string());
  // A buffer of exactly capacity + kMaxRecordData bytes, followed by a guard.
  std::vector<std::uint8_t> buffer(FirmwareImage::kMaxRecordData + 16, 0xEE);
  std::uint32_t address = 0;
  const std::int16_t first = image.ReadChunk(buffer.data(), 0, address);
  EXPECT_EQ(first, FirmwareImage::kMaxRecordData);
  EXPECT_EQ(buffer[FirmwareImage::kMaxRecordData], 0xEE);
  address = static_cast<std::uint32_t>(first);
  EXPECT_EQ(image.ReadChunk(buffer.data(), 0, address), 2);
  EXPECT_EQ(address, 0x0100U + FirmwareImage::kMaxRecordData);
  EXPECT_EQ(buffer[1], 251);
}

TEST(HelperRecords, AreValidForSrecCat) {
  ScratchFolder dir;
  writeFile(dir.path("h.mot"), kHeaderLine + contiguousS3(kFlash, 3, 5) +
                                   recordLine(1, 0x10, {1, 2, 3}) + "\n" +
                                   recordLine(2, 0x10000, {4}) + "\n");
  EXPECT_EQ(runCommand("srec_cat '" + dir.path("h.mot").string() +
                       "' -motorola -o /dev/null -motorola 2>/dev/null"),
            0);
}

} // namespace
} // namespace quillon::test
