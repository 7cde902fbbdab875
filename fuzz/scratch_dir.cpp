#include "fuzz/scratch_dir.h"

#include "fuzz/fuzz_check.h"
#include "testsupport/scratch_folder.h"

#include <fstream>
#include <iterator>
#include <string>

namespace quillon::fuzz {

const std::filesystem::path& scratchDirectory() {
  return test::processScratchFolder().path();
}

std::filesystem::path writeScratchFile(const std::string& name, const std::uint8_t* data,
                                       std::size_t size) {
  const std::filesystem::path path = scratchDirectory() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  QUILLON_FUZZ_CHECK(out.good(), "cannot write a scratch file");
  return path;
}

std::string readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace quillon::fuzz
