#include "fuzz/scratch_dir.h"

#include "fuzz/fuzz_check.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace quillon::fuzz {
namespace {

class ScratchDirectory {
public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-fuzz-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = ::mkdtemp(buffer.data());
    QUILLON_FUZZ_CHECK(made != nullptr, "cannot make a scratch directory");
    path_ = made;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};

} // namespace

const std::filesystem::path& scratchDirectory() {
  static const ScratchDirectory directory;
  return directory.path();
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
