// Every committed seed input of one fuzz target, run once through it: an input that breaks
// one of the target's invariants stops the test (the target aborts with the invariant's
// name), so a change that breaks what the fuzzer checks shows up in the ordinary suite.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::filesystem::path corpusDirectory() {
  const char* source = std::getenv("QUILLON_SOURCE_DIR");
  return std::filesystem::path(source != nullptr ? source : ".") / "fuzz" / "corpus" /
         QUILLON_FUZZ_TARGET;
}

std::vector<std::uint8_t> contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SeedCorpus, EveryInputKeepsTheInvariants) {
  const std::filesystem::path directory = corpusDirectory();
  ASSERT_TRUE(std::filesystem::is_directory(directory)) << directory;
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    if (!entry.is_regular_file())
      continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::vector<std::uint8_t> input = contents(entry.path());
    EXPECT_EQ(LLVMFuzzerTestOneInput(input.data(), input.size()), 0);
    ++inputs;
  }
  EXPECT_GE(inputs, 3) << "the seed corpus is nearly empty";
}

TEST(SeedCorpus, EmptyAndOneByteInputsKeepTheInvariants) {
  const std::uint8_t bytes[] = {0x00, 0xFF};
  EXPECT_EQ(LLVMFuzzerTestOneInput(bytes, 0), 0);
  EXPECT_EQ(LLVMFuzzerTestOneInput(bytes, 1), 0);
  EXPECT_EQ(LLVMFuzzerTestOneInput(bytes + 1, 1), 0);
}

} // namespace
