#pragma once

#include <vector>

#include "tests/windows/check_runner.h"
#include "tests/windows/test_settings.h"

// The test groups of the Windows program. Each returns its tests in the order they must run:
// the device keeps its state from one test to the next, as it does during an update.
namespace quillon::wintest {

// The COM port table, opening, line settings, bounded reads: the port without the protocol.
std::vector<TestCase> PortTests(const TestSettings& settings);
// The device on a port above COM32 that Windows lists as present.
std::vector<TestCase> ListedPortTests(const TestSettings& settings);
// The update log on Windows: its place beside the executable and the last-error value.
std::vector<TestCase> LogTests();
// Discovery, the device commands, passthrough, baud changes and the upload.
std::vector<TestCase> UpdateTests(const TestSettings& settings);
// After the device was switched off and on: discovery again, the new version, shut-down.
std::vector<TestCase> VerifyTests(const TestSettings& settings);
// A device whose cable is pulled in the middle of a command.
std::vector<TestCase> UnplugTests(const TestSettings& settings);

} // namespace quillon::wintest
