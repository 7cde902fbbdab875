#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// A small test runner for the Windows build, where GoogleTest is not at hand: named tests run
// in order, each collects its failed checks, and the run ends with the line
// "N passed, M failed".
namespace quillon::wintest {

// The checks of one test. A failed check is reported with its place and the test goes on,
// so one run shows every difference.
class Checks {
public:
  explicit Checks(std::string testName) : testName_(std::move(testName)) {}

  bool expect(bool ok, std::string_view what, const char* file, int line);
  template <typename A, typename B>
  bool expectEqual(const A& actual, const B& expected, std::string_view what, const char* file,
                   int line) {
    if (actual == expected)
      return true;
    std::ostringstream text;
    text << what << ": got " << actual << ", expected " << expected;
    return expect(false, text.str(), file, line);
  }
  // Ends the test as skipped (counted neither way), with the reason printed.
  void skip(std::string reason) { skipReason_ = std::move(reason); }

  int failures() const { return failures_; }
  bool skipped() const { return !skipReason_.empty(); }
  const std::string& skipReason() const { return skipReason_; }

private:
  std::string testName_;
  int failures_ = 0;
  std::string skipReason_;
};

struct TestCase {
  std::string name;
  std::function<void(Checks&)> body;
};

struct RunTotals {
  int passed = 0;
  int failed = 0;
  int skipped = 0;
};

// Runs the tests in order, printing one line per test and the closing line.
RunTotals RunTests(const std::vector<TestCase>& tests);

} // namespace quillon::wintest

#define WCHECK(condition) checks.expect((condition), #condition, __FILE__, __LINE__)
#define WCHECK_EQ(actual, expected)                                                                \
  checks.expectEqual((actual), (expected), #actual " == " #expected, __FILE__, __LINE__)
