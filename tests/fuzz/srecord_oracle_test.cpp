// The fuzzers' independent S-record reading, held against srec_cat: it must find the same
// bytes at the same addresses in valid files, refuse what srec_cat refuses for a checksum,
// and keep the line rules the image reader promises.

#include "fuzz/srecord_oracle.h"
#include "fuzz/test_images.h"
#include "testsupport/scratch_folder.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sstream>
#include <string>

namespace quillon::fuzz {
namespace {

const std::string kHeader = "S00600004844521B\n";
const std::string kEnd = "S70500000000FA\n";

class OracleAgainstSrecCat : public ::testing::Test {
protected:
  std::string write(const std::string& text) {
    const auto path = dir_.path("image.s19");
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // srec_cat's hex dump of the file: "2D000000: 11 22 ... #text", sixteen columns of three
  // characters a line, a missing byte left blank. Empty, with `ok` false, when srec_cat
  // refuses the file.
  ImageBytes srecCatBytes(const std::string& text, bool& ok) {
    const std::string command = "srec_cat '" + write(text) + "' -o - -hex-dump 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 4096> block{};
    for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), pipe)) > 0;)
      output.append(block.data(), got);
    ok = ::pclose(pipe) == 0;
    ImageBytes bytes;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t colon = line.find(':');
      if (colon == std::string::npos)
        continue;
      const auto address =
          static_cast<std::uint32_t>(std::stoul(line.substr(0, colon), nullptr, 16));
      for (std::uint32_t column = 0; column < 16; ++column) {
        const std::size_t at = colon + 2 + 3 * column;
        if (at >= line.size())
          break;
        const std::string hex = line.substr(at, 2);
        if (hex.size() == 2 && std::isxdigit(static_cast<unsigned char>(hex[0])) != 0)
          bytes[address + column] = static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16));
      }
    }
    return bytes;
  }

  test::ScratchFolder dir_;
};

TEST_F(OracleAgainstSrecCat, LoaderTestImagesReadAlike) {
  for (const TestImage& image : testImages()) {
    bool ok = false;
    const ImageBytes expected = srecCatBytes(image.text, ok);
    ASSERT_TRUE(ok);
    const OracleImage oracle = readImageOracle(image.text);
    ASSERT_TRUE(oracle.usable) << oracle.refusal;
    EXPECT_EQ(oracle.bytes, expected);
    EXPECT_EQ(image.bytes, expected) << "a test image does not hold what it says";
  }
}

TEST_F(OracleAgainstSrecCat, RandomRecordsReadAlike) {
  std::mt19937 random(7);
  for (int file = 0; file < 12; ++file) {
    std::string text = kHeader;
    std::uint32_t address = 0x2D000000U + random() % 0x1000U;
    for (int n = 0; n < 20; ++n) {
      std::vector<std::uint8_t> data(1 + random() % 40);
      for (auto& byte : data)
        byte = static_cast<std::uint8_t>(random());
      text += recordLine(3, address, data);
      address += static_cast<std::uint32_t>(data.size() + random() % 3 * 64);
    }
    text += kEnd;
    bool ok = false;
    const ImageBytes expected = srecCatBytes(text, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(readImageOracle(text).bytes, expected) << text;
  }
}

TEST_F(OracleAgainstSrecCat, BothRefuseAWrongChecksum) {
  std::string text = kHeader + recordLine(3, 0x2D000000, {1, 2, 3, 4});
  text[text.size() - 2] = text[text.size() - 2] == '0' ? '1' : '0';
  bool ok = true;
  srecCatBytes(text, ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(readImageOracle(text).refusal, "line 2: checksum");
}

TEST(Oracle, LineEndsAndBlankLines) {
  const std::string good = recordLine(3, 0x100, {0xAB, 0xCD});
  const std::string body = good.substr(0, good.size() - 1);
  const OracleImage image =
      readImageOracle(kHeader + "S5030000FC\n" + body + " \t\r\n" + " \t\r\n" +
                      recordLine(3, 0x200, {}) + recordLine(1, 0x10, {0x01}) + "S5030003F9");
  ASSERT_TRUE(image.usable) << image.refusal;
  EXPECT_EQ(image.bytes, (ImageBytes{{0x10, 0x01}, {0x100, 0xAB}, {0x101, 0xCD}}));
}

TEST(Oracle, RefusalsNameLineAndReason) {
  EXPECT_EQ(readImageOracle(kHeader + "S3090000000G01020304EE\n").refusal, "line 2: bad hex");
  EXPECT_EQ(readImageOracle(kHeader + "S30300\n").refusal, "line 2: byte count");
  EXPECT_EQ(readImageOracle(kHeader + "S3050000000\n").refusal, "line 2: byte count");
  EXPECT_EQ(readImageOracle(kHeader + "\n" + std::string(515, 'x') + "\n").refusal,
            "line 3: too long");
  EXPECT_EQ(readImageOracle(kHeader + "just a comment\n").refusal, "line 2: not a record");
  EXPECT_EQ(readImageOracle(kHeader + "s9030000FC\n").refusal, "line 2: not a record");
  EXPECT_EQ(
      readImageOracle(kHeader + recordLine(3, 0xFFFFFFF8, std::vector<std::uint8_t>(9))).refusal,
      "line 2: address range");
  EXPECT_TRUE(
      readImageOracle(kHeader + recordLine(3, 0xFFFFFFF8, std::vector<std::uint8_t>(8)) + kEnd)
          .usable);
  EXPECT_EQ(readImageOracle(kHeader + recordLine(1, 0x10, {1})).refusal,
            "no count or end record after line 2: the file may be cut short");
  EXPECT_EQ(readImageOracle(kHeader + recordLine(1, 0x10, {1}) + "S5030002FA\n").refusal,
            "line 3: count says 2 data records, 1 come before it");
  EXPECT_EQ(readImageOracle(kHeader + recordLine(1, 0x10, {1, 2}) + recordLine(1, 0x0F, {0, 1}) +
                            recordLine(1, 0x11, {3}) + kEnd)
                .refusal,
            "line 4: address 00000011 already given another value on line 2");
}

} // namespace
} // namespace quillon::fuzz
