// What goes out on the wire, byte for byte, and how the record data adds up to the image.

#include "gpsload/hex_text.h"
#include "gpsload/loader_frame.h"
#include "tests/loader/loader_rig.h"
#include "tests/loader/wire_image.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillon::test {
namespace {

using U = Uploader;

// Sends the image's first record with an end address just short of 0x2D000004, so that the
// loader's next address shows in its past-end trace.
struct FirstRecord {
  std::string frame;
  std::uint32_t bytesSent;
  std::string pastEnd;
};

FirstRecord SendFirstRecord(const std::vector<std::uint8_t>& data) {
  LoaderRig rig(WriteSRecordFile({{kFlashStart, data}}), kFlashStart + 3);
  rig.reach(U::WaitRec);
  FirstRecord out{rig.link.frames().back(), 0, ""};
  rig.answer({0x55});
  rig.answer({0x55});
  out.bytesSent = rig.loader->bytesSent();
  EXPECT_TRUE(rig.loader->Step()); // SEND REC finds the address past the end
  EXPECT_EQ(rig.loader->state(), U::FileDone);
  out.pastEnd = rig.traces.at(rig.traces.size() - 2);
  return out;
}

TEST(UploaderFrames, EvenChunkGoesOutAsIs) {
  const FirstRecord sent = SendFirstRecord({1, 2, 3, 4});
  EXPECT_EQ(sent.frame, "5b 00 04 2d 00 00 00 01 02 03 04 2f 06 5d");
  EXPECT_EQ(sent.bytesSent, 4u);
  EXPECT_EQ(sent.pastEnd, "SEND REC - Address 2d000004 past end 2d000003");
}

TEST(UploaderFrames, OddChunkIsPaddedWithTheErasedValue) {
  const FirstRecord sent = SendFirstRecord({1, 2, 3});
  EXPECT_EQ(sent.frame, "5b 00 04 2d 00 00 00 01 02 03 ff 2f fd 5d");
  EXPECT_EQ(sent.bytesSent, 4u);
  EXPECT_EQ(sent.pastEnd, "SEND REC - Address 2d000004 past end 2d000003");
}

// 95 records of 21 bytes make an odd first chunk that the image continues right after: the pad
// programs nothing, and the next frame starts with the byte the pad stood in for.
TEST(UploaderFrames, OddChunkInsideTheImageIsFollowedFromItsEnd) {
  const std::vector<std::uint8_t> data = Pattern(4000, 4);
  LoaderRig rig(WriteSRecordFile({{kFlashStart, data}}, 21));
  rig.reach(U::WaitRec);
  const auto first = ParseHexBytes(rig.link.frames().back());
  ASSERT_EQ(first.size(), 7u + 1996u + 3u);
  EXPECT_EQ(first[7 + 1995], 0xFF);
  rig.answer({0x55});
  rig.answer({0x55});
  rig.loader->Step();
  const auto second = ParseHexBytes(rig.link.frames().back());
  EXPECT_EQ(HexBytes(second.data() + 3, 4), "2d 00 07 cb");
  EXPECT_EQ(second[7], data[1995]);
}

TEST(UploaderFrames, EraseFrameCoversTheAskedRange) {
  EXPECT_EQ(HexBytes(loader::MakeEraseFrame(0x2D000000, 0xFFFFFFFF).data(), 14),
            "5b 00 04 2d 00 00 00 ff ff ff ff 2d 00 5d");
  EXPECT_EQ(HexBytes(loader::MakeEraseFrame(0x01020304, 0x0A0B0C0D).data(), 14),
            "5b 00 04 01 02 03 04 0a 0b 0c 0d 04 00 5d");
  EXPECT_EQ(HexBytes(loader::kEndFrame.data(), loader::kEndFrame.size()), "5b 00 00 00 00 5d");
}

TEST(UploaderFrames, EndAddressZeroMeansTheImageSize) {
  const std::string path = WriteSRecordFile({{kFlashStart, Pattern(3000, 1)}});
  LoaderRig rig(path, 0);
  const std::uint32_t end = kFlashStart + static_cast<std::uint32_t>(rig.image.size());
  rig.reach(U::EraseAdr);
  EXPECT_EQ(rig.link.frames().at(0), HexBytes(loader::MakeEraseFrame(kFlashStart, end).data(), 14));
  EXPECT_EQ(rig.traces.back(), "ERASE CMD - Erasing 2d000000:" + HexText(end, 8));
}

TEST(UploaderFrames, UnaddressedSkipsTheEraseAndTheAddress) {
  LoaderRig rig(WriteSRecordFile({{kFlashStart, {1, 2, 3, 4}}}), kFlashEnd,
                LoadAddressing::Unaddressed);
  rig.reach(U::Hand);
  rig.forget();
  EXPECT_TRUE(rig.answer({0x55}));
  EXPECT_EQ(rig.loader->state(), U::SendRec);
  EXPECT_FALSE(rig.loader->Step());
  EXPECT_EQ(rig.link.events, (std::vector<std::string>{"PR", "B 6a", "PT", "PR",
                                                       "F 5b 00 02 01 02 03 04 02 06 5d"}));
}

TEST(UploaderFrames, EmptyImageEndsWithoutAFrame) {
  LoaderRig rig(WriteSRecordFile({}));
  rig.reach(U::SendRec);
  rig.forget();
  EXPECT_TRUE(rig.loader->Step());
  EXPECT_EQ(rig.loader->state(), U::FileDone);
  EXPECT_TRUE(rig.link.frames().empty());
  EXPECT_EQ(rig.traces.back(), "SEND REC - 0 len");
}

// A healthy run over an image with a gap and odd records: every frame is well formed, and the
// data they carry lands where the independent conversion of the file puts it.
TEST(UploaderFrames, WholeTransferCarriesTheImage) {
  const std::string path = WriteSRecordFile(
      {{kFlashStart, Pattern(7001, 2)}, {kFlashStart + 0x3000, Pattern(333, 3)}}, 21);
  LoaderRig rig(path);
  rig.reach(U::FileDone);
  WireImage flash;
  std::uint32_t carried = 0;
  const auto frames = rig.link.frames();
  ASSERT_GT(frames.size(), 1u);
  for (const std::string& frame : std::vector<std::string>(frames.begin() + 1, frames.end())) {
    const auto bytes = ParseHexBytes(frame);
    ASSERT_TRUE(flash.addRecordFrame(bytes)) << frame.substr(0, 40);
    carried += static_cast<std::uint32_t>(bytes.size() - 10);
  }
  EXPECT_EQ(rig.loader->bytesSent(), carried);
  const std::vector<std::uint8_t> expected = SrecCatBinary(path, kFlashStart);
  ASSERT_FALSE(expected.empty());
  // The last chunk is odd: its pad byte lies one past the image.
  EXPECT_EQ(flash.image(kFlashStart).size(), expected.size() + 1);
  EXPECT_EQ(flash.image(kFlashStart, expected.size()), expected);
}

} // namespace
} // namespace quillon::test
