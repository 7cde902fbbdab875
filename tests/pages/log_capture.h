#pragma once

#include "testsupport/scratch_folder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::testing {

struct LogLine {
  std::string timestamp;
  std::string kind;
  std::string module; // long format only
  int sourceLine = 0; // long format only
  std::string message;
  int fields = 0;
};

// A scratch directory for Orbfix.log (and Orbfix.dat), removed afterwards. The process-wide
// log is closed when the lines are read and when the capture ends.
class LogCapture {
public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const std::filesystem::path& directory() const { return folder_.path(); }
  // Opens the process-wide log in the scratch directory at `level`.
  void open(int level) const;
  // Closes the log and parses every line written to it.
  std::vector<LogLine> lines() const;
  // "Kind: message" for every line, the form most tests compare.
  std::vector<std::string> kindsAndMessages() const;
  void writeFile(const std::string& name, const std::string& content) const;

private:
  test::ScratchFolder folder_;
};

} // namespace quillon::testing
