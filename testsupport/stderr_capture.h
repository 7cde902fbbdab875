#pragma once

#include <string>

namespace quillon::test {

// Catches what the process writes to its standard error while it lives (the log's debugger
// copy goes there on this platform) and gives the descriptor back when it ends. Throws
// std::runtime_error when standard error cannot be caught.
class StderrCapture {
public:
  StderrCapture();
  ~StderrCapture();
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  // Everything written to standard error since construction.
  std::string text();

private:
  int saved_ = -1;
  int capture_ = -1;
};

} // namespace quillon::test
