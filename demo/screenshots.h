#pragma once

#include <string>
#include <string_view>
#include <utility>

class QWidget;

namespace quillon::demo {

// Writes a PNG of a window into one folder, numbered in the order they were taken so that a
// listing reads like the run: "03-step3.png", "07-notice-E13.png". Does nothing without a
// folder.
class Screenshots {
public:
  explicit Screenshots(std::string directory) : directory_(std::move(directory)) {}

  bool enabled() const { return !directory_.empty(); }
  // False when the file could not be written.
  bool take(QWidget& window, std::string_view name);

  // "NOTICE E:13" -> "notice-E13", "NOTICE E-1" -> "notice-E-1", "NOTICE" -> "notice".
  static std::string NoticeName(std::string_view caption);

private:
  std::string directory_;
  int taken_ = 0;
};

} // namespace quillon::demo
