#pragma once

#include <filesystem>

namespace quillon::testing {

// Runs the program's code in a working folder of the test's choosing: Orbfix.dat and the
// firmware file it names are looked up relative to the current directory, as for a user.
class CurrentDirectory {
public:
  explicit CurrentDirectory(const std::filesystem::path& directory)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
  }
  ~CurrentDirectory() { std::filesystem::current_path(previous_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
  std::filesystem::path previous_;
};

} // namespace quillon::testing
