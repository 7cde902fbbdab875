#pragma once

#include <ostream>
#include <string_view>

namespace quillon::demo {

// Prints the run as the golfer sees it, one line per thing that appears: a page, a row or a
// status line that changes, the progress bar in tens, a notice, what the golfer did and how
// each page ended. Every line is flushed at once, so a reader of a pipe follows the run.
class RunPrinter {
public:
  explicit RunPrinter(std::ostream& out) : out_(out) {}

  void page(int step, std::string_view title);
  void row(std::string_view label, std::string_view text);
  void status(std::string_view text);
  void progress(int percent);
  void notice(std::string_view caption, std::string_view text);
  void golfer(std::string_view action);
  void result(int modalResult);
  void line(std::string_view text);

private:
  std::ostream& out_;
};

} // namespace quillon::demo
