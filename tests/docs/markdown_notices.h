#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::testing {

// One notice as docs/notices.md describes it: a "### NOTICE ..." heading (optionally followed
// by a qualifier in brackets, "### NOTICE E:20 (step 5)"), the text quoted on a "> " line, and
// the three paragraphs a reader needs.
struct DocumentedNotice {
  std::string caption;
  std::string qualifier;
  std::string text;
  int headingLine = 0;
  int quotedLines = 0;
  bool saysWhen = false;     // "**Shown:**"
  bool saysMeaning = false;  // "**What it means:**"
  bool saysWhatToDo = false; // "**What to do:**"
};

std::vector<DocumentedNotice> ReadDocumentedNotices(const std::filesystem::path& markdown);

} // namespace quillon::testing
