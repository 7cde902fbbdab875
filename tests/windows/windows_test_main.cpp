// quillon-windows-test: the Windows serial backend and the core above it, run under Windows (or
// wine) against a virtual Yardmark mapped onto a COM port. Prints one line per test and ends
// with "N passed, M failed"; exits non-zero when any test failed.
//
//   quillon-windows-test.exe --suite update --port \\.\Com5 --time-scale 0.05 --firmware F.s19
//   (the device switched off and on)
//   quillon-windows-test.exe --suite verify --port \\.\Com5 --time-scale 0.05
//   quillon-windows-test.exe --suite unplug --port \\.\Com5 --time-scale 0.05
//   quillon-windows-test.exe --suite listed-port --port \\.\COM40 --missing-port \\.\COM35

#include <cstdio>
#include <string>
#include <vector>

#include "tests/windows/suites.h"

int main(int argc, char** argv) {
  using namespace quillon::wintest;
  std::string error;
  const auto settings = ParseSettings(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!settings) {
    std::fprintf(stderr, "quillon-windows-test: %s\n", error.c_str());
    return 2;
  }
  std::vector<TestCase> tests;
  const auto add = [&tests](std::vector<TestCase> more) {
    for (auto& test : more)
      tests.push_back(std::move(test));
  };
  if (settings->suite == "update") {
    add(PortTests(*settings));
    add(LogTests());
    add(UpdateTests(*settings));
  } else if (settings->suite == "listed-port") {
    add(ListedPortTests(*settings));
  } else if (settings->suite == "verify") {
    add(VerifyTests(*settings));
  } else {
    add(UnplugTests(*settings));
  }
  const RunTotals totals = RunTests(tests);
  return totals.failed == 0 && totals.passed > 0 ? 0 : 1;
}
