#include "tests/windows/check_runner.h"

#include <chrono>
#include <cstdio>

namespace quillon::wintest {

bool Checks::expect(bool ok, std::string_view what, const char* file, int line) {
  if (ok)
    return true;
  ++failures_;
  std::printf("  %s:%d: %s: check failed: %.*s\n", file, line, testName_.c_str(),
              static_cast<int>(what.size()), what.data());
  std::fflush(stdout);
  return false;
}

RunTotals RunTests(const std::vector<TestCase>& tests) {
  RunTotals totals;
  for (const auto& test : tests) {
    std::printf("[ RUN  ] %s\n", test.name.c_str());
    std::fflush(stdout);
    Checks checks(test.name);
    const auto start = std::chrono::steady_clock::now();
    test.body(checks);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    const char* verdict = "[  OK  ]";
    if (checks.failures() > 0) {
      verdict = "[ FAIL ]";
      ++totals.failed;
    } else if (checks.skipped()) {
      verdict = "[ SKIP ]";
      ++totals.skipped;
    } else {
      ++totals.passed;
    }
    std::printf("%s %s (%lld ms)%s%s\n", verdict, test.name.c_str(), static_cast<long long>(ms),
                checks.skipped() ? ": " : "", checks.skipReason().c_str());
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed\n", totals.passed, totals.failed);
  std::fflush(stdout);
  return totals;
}

} // namespace quillon::wintest
