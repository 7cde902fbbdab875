#pragma once

#include "tests/support/scratch_folder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::test {

// Everything written to standard error (the log's debugger copy on this platform) between
// construction and take().
class StderrCapture {
public:
  StderrCapture();
  ~StderrCapture();
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;
  std::string take();

private:
  void restore();
  ScratchFolder scratch_;
  int savedFd_ = -1;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
// Lines ended by CR LF; a line without its CR LF is returned as it stands, last.
std::vector<std::string> splitCrLfLines(const std::string& bytes);
std::vector<std::string> splitTabs(const std::string& line);

} // namespace quillon::test
