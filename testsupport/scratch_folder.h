#pragma once

#include <filesystem>
#include <string>

namespace quillon::test {

// A fresh private folder under the system's temporary folder, removed with everything in it
// when this object goes. Tests, fuzz targets and benchmarks write their files here, so that
// runs side by side never meet and nothing is left behind.
class ScratchFolder {
public:
  ScratchFolder(); // throws std::runtime_error when no folder can be made
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path path(const std::string& name) const { return path_ / name; }
  // An empty folder `name` inside this one, emptied again when it was already there.
  std::filesystem::path freshFolder(const std::string& name) const;

private:
  std::filesystem::path path_;
};

// One scratch folder for the whole process, made on first use and removed when the process
// ends normally: for files a test hands on beyond its own scope.
const ScratchFolder& processScratchFolder();

} // namespace quillon::test
