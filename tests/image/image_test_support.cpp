#include "tests/image/image_test_support.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <stdlib.h>
#include <sys/wait.h>

namespace quillon::test {

void writeFile(const std::filesystem::path& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary);
  out << contents;
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::uint8_t> randomBytes(std::size_t count, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<std::uint8_t> bytes(count);
  for (auto& byte : bytes)
    byte = static_cast<std::uint8_t>(generator());
  return bytes;
}

std::vector<std::uint8_t> countingBytes(std::size_t count, std::size_t from) {
  std::vector<std::uint8_t> bytes(count);
  for (auto& byte : bytes)
    byte = static_cast<std::uint8_t>(from++);
  return bytes;
}

int runCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string commandOutput(const std::string& command) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr)
    return {};
  std::string output;
  std::array<char, 4096> block{};
  std::size_t n = 0;
  while ((n = std::fread(block.data(), 1, block.size(), pipe)) > 0)
    output.append(block.data(), n);
  pclose(pipe);
  return output;
}

std::string recordLine(int type, std::uint32_t address, const std::vector<std::uint8_t>& data) {
  const int addressBytes = type + 1;
  std::vector<std::uint8_t> bytes;
  bytes.push_back(
      static_cast<std::uint8_t>(static_cast<std::size_t>(addressBytes) + data.size() + 1));
  for (int i = addressBytes - 1; i >= 0; --i)
    bytes.push_back(static_cast<std::uint8_t>(address >> (8 * i)));
  bytes.insert(bytes.end(), data.begin(), data.end());
  unsigned sum = 0;
  for (auto byte : bytes)
    sum += byte;
  bytes.push_back(static_cast<std::uint8_t>(~sum));
  std::string line = "S" + std::to_string(type);
  for (auto byte : bytes) {
    std::array<char, 3> hex{};
    std::snprintf(hex.data(), hex.size(), "%02X", byte);
    line += hex.data();
  }
  return line;
}

std::string contiguousS3(std::uint32_t address, int n, int size, std::uint8_t firstByte) {
  std::string text;
  auto value = firstByte;
  for (int r = 0; r < n; ++r) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    for (auto& byte : data)
      byte = value++;
    text += recordLine(3, address + static_cast<std::uint32_t>(r * size), data) + "\n";
  }
  return text;
}

Chunk readChunkAt(FirmwareImage& image, std::uint32_t offset, int capacity) {
  std::vector<std::uint8_t> buffer(
      static_cast<std::size_t>(capacity + FirmwareImage::kMaxRecordData));
  Chunk chunk;
  chunk.address = offset;
  const std::int16_t length = image.ReadChunk(buffer.data(), capacity, chunk.address);
  chunk.bytes.assign(buffer.begin(), buffer.begin() + std::max<std::int16_t>(length, 0));
  return chunk;
}

std::vector<Chunk> readAllChunks(FirmwareImage& image, int capacity) {
  constexpr std::size_t kRunaway = 1'000'000;
  std::vector<Chunk> chunks;
  std::uint32_t offset = 0;
  for (;;) {
    Chunk chunk = readChunkAt(image, offset, capacity);
    if (chunk.bytes.empty())
      break;
    const auto length = static_cast<std::uint32_t>(chunk.bytes.size());
    offset =
        chunk.address + length + length % 2 - (chunks.empty() ? chunk.address : chunks[0].address);
    chunks.push_back(std::move(chunk));
    if (chunks.size() > kRunaway) {
      ADD_FAILURE() << "the image never ran out of chunks";
      break;
    }
  }
  return chunks;
}

} // namespace quillon::test
