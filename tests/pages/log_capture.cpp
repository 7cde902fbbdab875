#include "log_capture.h"

#include "log/update_log.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace quillon::testing {

LogCapture::LogCapture() = default;

LogCapture::~LogCapture() {
  updateLog().close();
  updateLog().setLevel(0);
}

void LogCapture::open(int level) const {
  ASSERT_TRUE(updateLog().openIn(directory().c_str(), "Orbfix.log"));
  updateLog().setLevel(level);
}

std::vector<LogLine> LogCapture::lines() const {
  updateLog().close();
  std::ifstream file(directory() / "Orbfix.log", std::ios::binary);
  std::vector<LogLine> parsed;
  std::string text;
  while (std::getline(file, text)) {
    EXPECT_TRUE(text.ends_with('\r')) << "line not ended by CR LF: " << text;
    if (text.ends_with('\r'))
      text.pop_back();
    std::vector<std::string> fields;
    std::stringstream stream(text);
    for (std::string field; std::getline(stream, field, '\t');)
      fields.push_back(field);
    LogLine line;
    line.fields = static_cast<int>(fields.size());
    if (fields.size() == 3) {
      line = {fields[0], fields[1], "", 0, fields[2], 3};
    } else if (fields.size() == 4) {
      const auto comma = fields[2].find(", ");
      line = {fields[0], fields[1], fields[2].substr(0, comma), 0, fields[3], 4};
      if (comma != std::string::npos)
        line.sourceLine = std::stoi(fields[2].substr(comma + 2));
    } else {
      ADD_FAILURE() << "log line with " << fields.size() << " fields: " << text;
    }
    parsed.push_back(line);
  }
  return parsed;
}

std::vector<std::string> LogCapture::kindsAndMessages() const {
  std::vector<std::string> out;
  for (const auto& line : lines())
    out.push_back(line.kind + ": " + line.message);
  return out;
}

void LogCapture::writeFile(const std::string& name, const std::string& content) const {
  std::ofstream file(directory() / name, std::ios::binary);
  file << content;
}

} // namespace quillon::testing
