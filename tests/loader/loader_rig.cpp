#include "tests/loader/loader_rig.h"

#include "gpsload/hex_text.h"
#include "testsupport/scratch_folder.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <gtest/gtest.h>

namespace quillon::test {

std::vector<std::uint8_t> Pattern(std::size_t count, unsigned seed) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<std::uint8_t>((i * 7 + seed * 31 + i / 251) & 0xFF);
  return bytes;
}

namespace {

std::string Record(char type, std::uint32_t address, int addressBytes, const std::uint8_t* data,
                   std::size_t count) {
  const auto byteCount =
      static_cast<std::uint32_t>(count) + static_cast<std::uint32_t>(addressBytes) + 1;
  std::uint32_t sum = byteCount;
  std::string line = std::string("S") + type + HexText(byteCount, 2);
  for (int i = addressBytes - 1; i >= 0; --i) {
    const std::uint32_t byte = (address >> (8 * i)) & 0xFF;
    sum += byte;
    line += HexText(byte, 2);
  }
  for (std::size_t i = 0; i < count; ++i) {
    sum += data[i];
    line += HexText(std::uint32_t{data[i]}, 2);
  }
  for (char& c : line)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return line + HexText(~sum & 0xFF, 2) + "\n";
}

} // namespace

std::string WriteSRecordFile(const std::vector<ImageBlock>& blocks, std::size_t perRecord) {
  static int serial = 0;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? info->name() : "image";
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
      '_');
  const std::string path =
      test::processScratchFolder().path(name + "_" + std::to_string(++serial) + ".s3").string();
  std::ofstream out(path, std::ios::binary);
  const std::uint8_t header[] = {'q', 'l'};
  out << Record('0', 0, 2, header, sizeof header);
  for (const auto& block : blocks)
    for (std::size_t at = 0; at < block.data.size(); at += perRecord)
      out << Record('3', block.address + static_cast<std::uint32_t>(at), 4, block.data.data() + at,
                    std::min(perRecord, block.data.size() - at));
  out << Record('7', blocks.empty() ? 0 : blocks.front().address, 4, nullptr, 0);
  return path;
}

LoaderRig::LoaderRig(const std::string& imagePath, std::uint32_t end, LoadAddressing addressing,
                     bool portFound)
    : image(imagePath) {
  link.portFound = portFound;
  loader = std::make_unique<Uploader>(image, link, addressing, kFlashStart, end, clock);
  loader->setTrace([this](std::string_view line) { traces.emplace_back(line); });
}

void LoaderRig::reach(int target) {
  for (int steps = 0; loader->state() != target; ++steps) {
    ASSERT_LT(steps, 10000) << "never reached state " << target;
    switch (loader->state()) {
    case Uploader::NoConnect:
      if (link.replies.empty())
        link.queue({0xAA});
      break;
    case Uploader::Hand:
    case Uploader::EraseCmd:
    case Uploader::EraseAdr:
    case Uploader::Erasing:
    case Uploader::WaitCold:
    case Uploader::WaitRec:
    case Uploader::Prog:
      if (link.replies.empty())
        link.queue({0x55});
      break;
    default:
      break;
    }
    loader->Step();
  }
}

bool LoaderRig::answer(std::initializer_list<int> bytes) {
  link.queue(bytes);
  return loader->Step();
}

void LoaderRig::forget() {
  link.events.clear();
  traces.clear();
}

} // namespace quillon::test
