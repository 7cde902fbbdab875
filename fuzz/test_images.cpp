#include "fuzz/test_images.h"

#include <cstdio>

namespace quillon::fuzz {
namespace {

constexpr std::uint32_t kFlashStart = 0x2D000000;

std::string hexByte(unsigned value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFFU);
  return text;
}

struct ImageBuilder {
  TestImage image{"S00600004844521B\n", {}};
  std::uint32_t seed = 1;

  std::uint8_t nextByte() {
    seed = seed * 1103515245U + 12345U;
    return static_cast<std::uint8_t>(seed >> 16);
  }

  void add(int type, std::uint32_t address, std::size_t length) {
    std::vector<std::uint8_t> data(length);
    for (std::size_t i = 0; i < length; ++i) {
      data[i] = nextByte();
      image.bytes[address + static_cast<std::uint32_t>(i)] = data[i];
    }
    image.text += recordLine(type, address, data);
  }
};

TestImage longRun() {
  ImageBuilder b;
  for (std::uint32_t i = 0; i < 70; ++i)
    b.add(3, kFlashStart + 32 * i, 32);
  b.image.text += "S70500000000FA\n";
  return b.image;
}

TestImage gapsAndOddLengths() {
  ImageBuilder b;
  b.add(3, kFlashStart, 16);
  b.add(3, kFlashStart + 0x100, 7);
  b.add(3, kFlashStart + 0x107, 33);
  b.add(3, kFlashStart + 0x400, 1);
  b.add(3, kFlashStart + 0x402, 250);
  b.image.text += "S70500000000FA\n";
  return b.image;
}

TestImage shortAddresses() {
  ImageBuilder b;
  b.add(1, 0x1000, 5);
  b.add(2, 0x2D0010, 12);
  b.add(3, kFlashStart + 0x20, 9);
  b.image.text += "S9030000FC\n";
  return b.image;
}

TestImage startsLate() {
  ImageBuilder b;
  for (std::uint32_t i = 0; i < 9; ++i)
    b.add(3, kFlashStart + 0x1000 + 250 * i, 250);
  b.add(3, kFlashStart + 0x1000 + 2250, 3);
  b.image.text += "S503000AF2\n"; // the count of its ten records
  return b.image;
}

} // namespace

std::string recordLine(int type, std::uint32_t address, const std::vector<std::uint8_t>& data) {
  const int addressBytes = type + 1;
  unsigned sum = static_cast<unsigned>(addressBytes + 1) + static_cast<unsigned>(data.size());
  std::string line = "S" + std::to_string(type) + hexByte(sum);
  for (int i = addressBytes - 1; i >= 0; --i) {
    const unsigned part = address >> (8 * i) & 0xFFU;
    sum += part;
    line += hexByte(part);
  }
  for (std::uint8_t byte : data) {
    sum += byte;
    line += hexByte(byte);
  }
  return line + hexByte(~sum) + "\n";
}

const std::vector<TestImage>& testImages() {
  static const std::vector<TestImage> images{longRun(), gapsAndOddLengths(), shortAddresses(),
                                             startsLate()};
  return images;
}

} // namespace quillon::fuzz
