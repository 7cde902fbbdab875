#include "tests/docs/markdown_notices.h"

#include <fstream>
#include <string_view>

namespace quillon::testing {
namespace {

constexpr std::string_view kNoticeHeading = "### NOTICE";
constexpr std::string_view kQuote = "> ";

// "### NOTICE E:20 (step 5)" -> caption "NOTICE E:20", qualifier "step 5".
DocumentedNotice FromHeading(std::string_view heading, int line) {
  DocumentedNotice notice;
  notice.headingLine = line;
  std::string_view caption = heading.substr(std::string_view("### ").size());
  if (caption.ends_with(')')) {
    if (const auto open = caption.rfind(" ("); open != std::string_view::npos) {
      notice.qualifier = caption.substr(open + 2, caption.size() - open - 3);
      caption = caption.substr(0, open);
    }
  }
  notice.caption = caption;
  return notice;
}

void ReadBodyLine(std::string_view text, DocumentedNotice& notice) {
  if (text.starts_with(kQuote)) {
    if (notice.quotedLines++ == 0)
      notice.text = text.substr(kQuote.size());
  }
  notice.saysWhen |= text.starts_with("**Shown:**");
  notice.saysMeaning |= text.starts_with("**What it means:**");
  notice.saysWhatToDo |= text.starts_with("**What to do:**");
}

} // namespace

std::vector<DocumentedNotice> ReadDocumentedNotices(const std::filesystem::path& markdown) {
  std::ifstream in(markdown);
  std::vector<DocumentedNotice> notices;
  bool inNotice = false;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.starts_with('#')) {
      inNotice = line.starts_with(kNoticeHeading);
      if (inNotice)
        notices.push_back(FromHeading(line, number));
    } else if (inNotice) {
      ReadBodyLine(line, notices.back());
    }
  }
  return notices;
}

} // namespace quillon::testing
