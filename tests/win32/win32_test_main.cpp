// quillon-win32-test: the native windows of quillon.exe, run under Windows or under wine on a
// display. Prints one line per test and ends with "N passed, M failed"; exits non-zero when
// any test failed.
#include "tests/windows/check_runner.h"

#include <vector>
#include <windows.h>
// These declare themselves in terms of windows.h.
#include <commctrl.h>
#include <objbase.h>

namespace quillon::wintest {
std::vector<TestCase> WindowTests();
std::vector<TestCase> PowerTests();
} // namespace quillon::wintest

int main() {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  // The windows answer screen readers through COM, as quillon.exe's do.
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  auto tests = quillon::wintest::WindowTests();
  for (auto& test : quillon::wintest::PowerTests())
    tests.push_back(std::move(test));
  const auto totals = quillon::wintest::RunTests(tests);
  if (com)
    CoUninitialize();
  return totals.failed == 0 && totals.passed > 0 ? 0 : 1;
}
