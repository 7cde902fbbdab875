#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string HelpText() {
  FILE* pipe = popen(QUILLON_YARDMARK_SIM_PROGRAM " --help", "r");
  if (!pipe)
    return {};
  std::string text;
  char buffer[4096];
  for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    text.append(buffer, count);
  const int status = pclose(pipe);
  EXPECT_EQ(status, 0) << "yardmark-sim --help";
  return text;
}

std::string Document() {
  const char* root = std::getenv("QUILLON_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/docs/virtual-yardmark.md");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines of `text` from the one after `heading` up to the next empty line.
std::vector<std::string> Block(const std::string& text, const std::string& heading) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (inside && line.empty())
      break;
    if (inside)
      lines.push_back(line);
    inside |= line == heading;
  }
  return lines;
}

// "  silent-at=STATE:SECONDS     the boot loader stalls ..." -> "silent-at". Explanations
// below the list have single blanks between their words.
std::set<std::string> FaultsInHelp(const std::string& help) {
  static const std::regex kFault("^  ([A-Za-z0-9-]+)(=\\S+)?  +\\S.*$");
  std::set<std::string> names;
  for (const auto& line : Block(help, "Faults:")) {
    std::smatch match;
    if (std::regex_match(line, match, kFault))
      names.insert(match[1]);
  }
  return names;
}

std::set<std::string> OptionsInHelp(const std::string& help) {
  static const std::regex kOption("^  (--[a-z-]+)\\b.*$");
  std::set<std::string> names;
  for (const auto& line : Block(help, "Options:")) {
    std::smatch match;
    if (std::regex_match(line, match, kOption))
      names.insert(match[1]);
  }
  return names;
}

// First cells of the document's tables: "| `--battery TEXT` | ..." -> "--battery",
// "| `fail=N` | ..." -> "fail".
std::set<std::string> TableKeys(const std::string& document, const std::regex& key) {
  std::set<std::string> keys;
  std::istringstream in(document);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (std::regex_match(line, match, key))
      keys.insert(match[1]);
  }
  return keys;
}

class VirtualYardmarkDocument : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(help.find("Faults:"), std::string::npos) << help;
    ASSERT_FALSE(document.empty()) << "docs/virtual-yardmark.md not found";
  }
  const std::string help = HelpText();
  const std::string document = Document();
};

TEST_F(VirtualYardmarkDocument, EveryFaultOfTheProgramIsInTheFaultTable) {
  const auto faults = FaultsInHelp(help);
  ASSERT_GE(faults.size(), 10U) << help;
  const auto documented = TableKeys(document, std::regex("^\\| `([A-Za-z0-9-]+)[^`]*` \\|.*$"));
  for (const auto& fault : faults)
    EXPECT_EQ(documented.count(fault), 1U) << "fault " << fault << " is not documented";
}

TEST_F(VirtualYardmarkDocument, EveryOptionOfTheProgramIsInTheOptionTable) {
  const auto options = OptionsInHelp(help);
  ASSERT_GE(options.size(), 10U) << help;
  EXPECT_EQ(TableKeys(document, std::regex("^\\| `(--[a-z-]+)[^`]*` \\|.*$")), options);
}

TEST_F(VirtualYardmarkDocument, DocumentsNoFaultTheProgramRefuses) {
  const auto faults = FaultsInHelp(help);
  const auto start = document.find("| fault |");
  ASSERT_NE(start, std::string::npos);
  std::istringstream rows(document.substr(start));
  std::string row;
  std::getline(rows, row); // heading
  std::getline(rows, row); // rule
  int listed = 0;
  static const std::regex kRow("^\\| `([A-Za-z0-9-]+)[^`]*` \\|.*$");
  while (std::getline(rows, row) && row.starts_with("|")) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(row, match, kRow)) << row;
    EXPECT_EQ(faults.count(match[1]), 1U) << "yardmark-sim has no fault " << match[1];
    ++listed;
  }
  EXPECT_EQ(static_cast<std::size_t>(listed), faults.size());
}

TEST_F(VirtualYardmarkDocument, EveryStandardInputLineIsDocumented) {
  static const std::regex kLines("Standard input takes the lines: ([^.]*)\\.");
  std::smatch match;
  ASSERT_TRUE(std::regex_search(help, match, kLines)) << help;
  std::istringstream names(match[1].str());
  int count = 0;
  for (std::string name; std::getline(names, name, ',');) {
    name.erase(0, name.find_first_not_of(' '));
    EXPECT_NE(document.find("| `" + name + "` |"), std::string::npos)
        << "standard input line \"" << name << "\" is not documented";
    ++count;
  }
  EXPECT_GE(count, 5);
}

} // namespace
