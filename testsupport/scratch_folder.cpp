#include "testsupport/scratch_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace quillon::test {

ScratchFolder::ScratchFolder() {
  const std::string pattern = (std::filesystem::temp_directory_path() / "quillon-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr)
    throw std::runtime_error("cannot make a scratch folder from " + pattern);
  path_ = name.data();
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScratchFolder::freshFolder(const std::string& name) const {
  const std::filesystem::path folder = path_ / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

const ScratchFolder& processScratchFolder() {
  static const ScratchFolder folder;
  return folder;
}

} // namespace quillon::test
