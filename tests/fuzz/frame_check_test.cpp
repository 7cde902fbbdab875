// The frame checks the flash loader's fuzzer applies to every frame: the frames the boot
// loader expects must pass, and each way a frame can be wrong must be caught.

#include "fuzz/loader_frame_check.h"

#include <gtest/gtest.h>

namespace quillon::fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kEraseFrame{0x5B, 0x00, 0x04, 0x2D, 0x00, 0x00, 0x00,
                        0xFF, 0xFF, 0xFF, 0xFF, 0x2D, 0x00, 0x5D};
const Bytes kRecordFrame{0x5B, 0x00, 0x04, 0x2D, 0x00, 0x00, 0x00,
                         0x01, 0x02, 0x03, 0x04, 0x2F, 0x06, 0x5D};
const Bytes kEndFrame{0x5B, 0x00, 0x00, 0x00, 0x00, 0x5D};

std::string whyNot(const Bytes& frame) {
  std::string why;
  EXPECT_FALSE(parseFrame(frame, why).has_value());
  return why;
}

TEST(FrameCheck, FramesTheBootLoaderTakesPass) {
  std::string why;
  const auto erase = parseFrame(kEraseFrame, why);
  ASSERT_TRUE(erase.has_value()) << why;
  EXPECT_EQ(erase->payload, Bytes(kEraseFrame.begin() + 3, kEraseFrame.end() - 3));
  ASSERT_TRUE(parseFrame(kRecordFrame, why).has_value()) << why;
  const auto end = parseFrame(kEndFrame, why);
  ASSERT_TRUE(end.has_value()) << why;
  EXPECT_TRUE(end->payload.empty());
}

TEST(FrameCheck, EachFaultIsCaught) {
  Bytes checksum = kRecordFrame;
  checksum[12] ^= 0x01;
  EXPECT_EQ(whyNot(checksum), "wrong checksum");
  Bytes length = kRecordFrame;
  length[2] = 0x05;
  EXPECT_EQ(whyNot(length), "LEN disagrees with the frame's length");
  Bytes end = kRecordFrame;
  end.back() = 0x5C;
  EXPECT_EQ(whyNot(end), "no 5B ... 5D around it");
  EXPECT_EQ(whyNot({0x5B, 0x00, 0x5D}), "shorter than an empty frame");
}

TEST(FrameCheck, RecordBytesMustBeTheImagesOwn) {
  std::string why;
  const auto frame = parseFrame(kRecordFrame, why);
  ASSERT_TRUE(frame.has_value());
  ImageBytes image{{0x2D000000, 1}, {0x2D000001, 2}, {0x2D000002, 3}, {0x2D000003, 4}};
  EXPECT_EQ(checkAddressedRecord(*frame, image), "");
  image[0x2D000002] = 0x33;
  EXPECT_EQ(checkAddressedRecord(*frame, image),
            "a record byte differs from the image at its address");
  image.erase(0x2D000002);
  EXPECT_EQ(checkAddressedRecord(*frame, image), "a record carries a byte the image does not hold");
}

TEST(FrameCheck, OnlyTheLastByteMayBeAnErasedPad) {
  // 01 02 03 at 0x2D000000, padded to a whole word with FF, also where the image goes on.
  const ParsedFrame padded{{0x2D, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0xFF}};
  ImageBytes image{{0x2D000000, 1}, {0x2D000001, 2}, {0x2D000002, 3}};
  EXPECT_EQ(checkAddressedRecord(padded, image), "");
  image[0x2D000003] = 4;
  EXPECT_EQ(checkAddressedRecord(padded, image), "");
  image.erase(0x2D000003);
  const ParsedFrame badPad{{0x2D, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x00}};
  EXPECT_EQ(checkAddressedRecord(badPad, image), "a record carries a byte the image does not hold");
  const ParsedFrame noData{{0x2D, 0x00, 0x00, 0x00}};
  EXPECT_EQ(checkAddressedRecord(noData, image), "a record frame without data");
}

} // namespace
} // namespace quillon::fuzz
