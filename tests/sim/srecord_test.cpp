#include "sim/flash_model.h"
#include "sim/srecord_file.h"
#include "tests/sim/loader_host.h"
#include "testsupport/scratch_folder.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace quillon::sim::testing {
namespace {

std::string TempPath(const std::string& name) {
  return test::processScratchFolder().path(name).string();
}

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& byte : bytes)
    byte = static_cast<std::uint8_t>(generator());
  return bytes;
}

void WriteBinary(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// SRecord's own conversion of `bytes` at `address`, the reference for the device's reader.
std::string SrecCat(const std::vector<std::uint8_t>& bytes, std::uint32_t address,
                    int addressLength, const std::string& name) {
  const std::string binary = TempPath(name + ".bin");
  const std::string output = TempPath(name + ".mot");
  WriteBinary(binary, bytes);
  const std::string command =
      "srec_cat " + binary + " -binary -offset " + std::to_string(address) + " -o " + output +
      " -motorola -address-length=" + std::to_string(addressLength) + " 2>/dev/null";
  return std::system(command.c_str()) == 0 ? output : "";
}

int SrecCmp(const std::string& a, const std::string& b) {
  return std::system(("srec_cmp " + a + " " + b + " >/dev/null 2>&1").c_str());
}

TEST(SRecordReader, ReadsWhatSrecCatWroteInAllThreeAddressSizes) {
  struct Case {
    int addressLength;
    std::uint32_t address;
  };
  for (const Case c : {Case{2, 0x1000}, Case{3, 0x12000}, Case{4, 0x2D000000}}) {
    SCOPED_TRACE(c.addressLength);
    const auto data = RandomBytes(5000, static_cast<unsigned>(c.addressLength));
    const std::string file = SrecCat(data, c.address, c.addressLength, "read");
    ASSERT_FALSE(file.empty());
    FlashModel image;
    std::string error;
    ASSERT_TRUE(ReadSRecordFile(file, image, error)) << error;
    const auto segments = image.segments();
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].first, c.address);
    EXPECT_EQ(segments[0].second, data);
  }
}

TEST(SRecordReader, RefusesDamagedLinesNamingTheLine) {
  struct Case {
    const char* text;
    const char* complaint;
  };
  for (const Case c : {Case{"S00600004844521B\nS1071000010203041F\n", "line 2: checksum"},
                       Case{"S00600004844521B\nS1071000010203XXDE\n", "line 2: bad hex"},
                       Case{"S00600004844521B\nS108100001020304DE\n", "line 2: byte count"},
                       Case{"S00600004844521B\nS407100001020304DE\n", "line 2: unknown"},
                       Case{"hello\n", "no S0 header record"}}) {
    SCOPED_TRACE(c.text);
    const std::string path = TempPath("bad.mot");
    std::ofstream(path) << c.text;
    FlashModel image;
    std::string error;
    EXPECT_FALSE(ReadSRecordFile(path, image, error));
    EXPECT_NE(error.find(c.complaint), std::string::npos) << error;
  }
}

TEST(SRecordReader, AcceptsWindowsLineEnds) {
  const std::string path = TempPath("crlf.mot");
  std::ofstream(path) << "S00600004844521B\r\nS107100001020304DE\r\nS9030000FC\r\n";
  FlashModel image;
  std::string error;
  ASSERT_TRUE(ReadSRecordFile(path, image, error)) << error;
  EXPECT_EQ(image.segments(), (std::vector<FlashModel::Segment>{{0x1000, {1, 2, 3, 4}}}));
}

TEST(FlashDump, SrecCmpFindsTheProgrammedBytesInTheDump) {
  const auto low = RandomBytes(700, 11);
  const auto high = RandomBytes(300, 12);
  FlashModel flash;
  flash.program(0x2D000000, low.data(), low.size());
  flash.program(0x2D010000, high.data(), high.size());
  const std::string dump = TempPath("dump.s3");
  ASSERT_TRUE(WriteS3File(dump, flash));

  std::vector<std::uint8_t> spread(0x10000 + high.size(), 0);
  std::copy(low.begin(), low.end(), spread.begin());
  std::copy(high.begin(), high.end(), spread.begin() + 0x10000);
  const std::string lowFile = SrecCat(low, 0x2D000000, 4, "low");
  const std::string highFile = SrecCat(high, 0x2D010000, 4, "high");
  const std::string both = TempPath("both.mot");
  ASSERT_EQ(std::system(
                ("srec_cat " + lowFile + " " + highFile + " -o " + both + " 2>/dev/null").c_str()),
            0);
  EXPECT_EQ(SrecCmp(dump, both), 0);
  EXPECT_NE(SrecCmp(dump, lowFile), 0) << "the judge must notice a missing part";
}

TEST(FlashModel, EraseClearsOnlyItsRange) {
  FlashModel flash;
  const std::vector<std::uint8_t> data(10, 0x00);
  flash.program(100, data.data(), data.size());
  flash.erase(103, 105);
  EXPECT_EQ(flash.segments(),
            (std::vector<FlashModel::Segment>{{100, {0, 0, 0}}, {106, {0, 0, 0, 0}}}));
  EXPECT_EQ(flash.programmedCount(), 7u);
  flash.erase(0, 0xFFFFFFFF);
  EXPECT_EQ(flash.programmedCount(), 0u);
}

// The chip reports the new version only once its flash holds exactly the firmware file.
TEST(GpsVersionAfterUpdate, NewVersionOnlyWithTheWholeFirmwareInFlash) {
  const auto data = RandomBytes(600, 21);
  const std::string firmware = SrecCat(data, kFlashStart, 4, "firmware");
  ASSERT_FALSE(firmware.empty());
  YardmarkOptions options = FastOptions();
  options.firmwarePath = firmware;
  options.gpsVersion = "$PASHR,VER,OLD";
  options.newGpsVersion = "$PASHR,VER,NEW";
  Served s(options);
  ASSERT_TRUE(s.started) << s.device.error();

  auto versionAfterPowerCycle = [&s]() {
    s.device.powerOff();
    s.device.powerOn();
    s.host->purge();
    Greet(*s.host);
    EXPECT_EQ(Exchange(*s.host, "KV7-G"), Bytes("KV7-G"));
    const auto reply = s.host->read(21, 330ms);
    return std::string(reply.begin(), std::find(reply.begin(), reply.end(), 0));
  };
  auto flash = [&s](const std::vector<std::uint8_t>& part) {
    StartBootLoader(s);
    Handshake(*s.host);
    ASSERT_EQ(Erase(*s.host, kFlashStart, 0xFFFFFFFF), 16);
    ASSERT_EQ(SendRecord(*s.host, kFlashStart, part), (std::vector<std::uint8_t>{kOk, kRecWait}));
    s.host->send(EndFrame());
    ASSERT_EQ(s.host->read(1, 300ms), std::vector<std::uint8_t>{kOk});
  };

  EXPECT_EQ(versionAfterPowerCycle(), "$PASHR,VER,OLD");
  flash(std::vector<std::uint8_t>(data.begin(), data.begin() + 300));
  EXPECT_EQ(versionAfterPowerCycle(), "$PASHR,VER,OLD") << "half the firmware";
  flash(data);
  EXPECT_EQ(versionAfterPowerCycle(), "$PASHR,VER,NEW");
}

} // namespace
} // namespace quillon::sim::testing
