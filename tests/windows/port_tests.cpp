// The serial backend on its own: the COM port table, opening and refusing ports, the line
// settings a port is left with, and reads on a silent line that end within their bounds.

#include "base/clock.h"
#include "link/device_link.h"
#include "link/port_list.h"
#include "link/serial_port.h"
#include "tests/windows/suites.h"
#include "tests/windows/windows_probe.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace quillon::wintest {
namespace {

using SteadyClock = std::chrono::steady_clock;

long long MsSince(SteadyClock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
}

// The number after "\\.\COM" of a listed port's path; 0 for anything else.
int ListedPortNumber(const std::string& path) {
  const std::string prefix = "\\\\.\\COM";
  if (path.compare(0, prefix.size(), prefix) != 0)
    return 0;
  return std::atoi(path.c_str() + prefix.size());
}

void ComPortTable(Checks& checks) {
  const auto paths = ListCandidatePorts();
  if (!WCHECK(paths.size() >= std::size_t{32}))
    return;
  // "\\.\Com1" is the eight bytes 5C 5C 2E 5C 43 6F 6D 31.
  const unsigned char com1[] = {0x5C, 0x5C, 0x2E, 0x5C, 0x43, 0x6F, 0x6D, 0x31};
  WCHECK(paths[0].size() == sizeof com1 && std::memcmp(paths[0].data(), com1, sizeof com1) == 0);
  WCHECK_EQ(paths[4], std::string("\\\\.\\Com5"));
  WCHECK_EQ(paths[9], std::string("\\\\.\\Com10"));
  WCHECK_EQ(paths[29], std::string("\\\\.\\Com30"));
  WCHECK_EQ(paths[30], std::string("\\\\.\\COM31"));
  WCHECK_EQ(paths[31], std::string("\\\\.\\COM32"));
  for (std::size_t i = 0; i < 32; ++i)
    WCHECK(paths[i].size() < 15); // every name fits the 15-byte port name field
  // Then the ports Windows lists as present above COM32, each once, ascending.
  for (std::size_t i = 32; i < paths.size(); ++i) {
    const int before = i == 32 ? 32 : ListedPortNumber(paths[i - 1]);
    WCHECK(ListedPortNumber(paths[i]) > before);
  }
}

// The device on a port above the table's, listed by Windows beside one that is listed but
// gone (missingPort): both follow the table in ascending order, and discovery finds the device.
void DeviceAboveTheTableIsFound(const TestSettings& settings, Checks& checks) {
  const auto paths = ListCandidatePorts();
  const auto listed = [&](const std::string& port) {
    return std::find(paths.begin() + 32, paths.end(), port) != paths.end();
  };
  WCHECK(listed(settings.port));
  WCHECK(listed(settings.missingPort));

  SystemClock clock(settings.timeScale);
  DeviceLink link(clock);
  WCHECK_EQ(link.FindDevice(), KV7SUCCESS);
  WCHECK_EQ(std::string(link.portName().data()), settings.port);
}

// True when the port operation succeeded.
bool Ok(const PortResult& result) {
  return !result.has_value();
}

// What the port's failure says, by name, for the check's message.
const char* ErrorName(const PortResult& result) {
  if (!result)
    return "no failure";
  switch (result->error) {
  case PortError::Busy:
    return "Busy";
  case PortError::Denied:
    return "Denied";
  case PortError::Gone:
    return "Gone";
  case PortError::TimedOut:
    return "TimedOut";
  case PortError::NoResources:
    return "NoResources";
  case PortError::Other:
    break;
  }
  return "Other";
}

// A port no system has is not present. The test's own missing port is mapped onto something
// that is no port (under wine a directory, which wine refuses as if it were held): it is only
// refused, with the system's own error kept for the log.
void MissingPortIsRefused(const TestSettings& settings, Checks& checks) {
  auto port = MakePlatformSerialPort();
  WCHECK_EQ(std::string(ErrorName(port->open("\\\\.\\COM250"))), std::string("Gone"));
  const PortResult failure = port->open(settings.missingPort);
  WCHECK(failure && failure->systemError != 0);
  WCHECK(!port->isOpen());
  WCHECK_EQ(port->read(nullptr, 0).count, std::size_t{0});

  VirtualClock clock;
  DeviceLink link(clock);
  WCHECK(link.OpenPort(settings.missingPort) == nullptr);
  WCHECK_EQ(link.lastStatus(), KV7INVALIDHANDLEVALUE);
  WCHECK_EQ(clock.nowMs(), 0); // no settling pause for a port that did not open
}

void OpenLeavesTheLineAt115200_8N1(const TestSettings& settings, Checks& checks) {
  VirtualClock clock;
  DeviceLink link(clock);
  auto opened = link.OpenPort(settings.port);
  if (!WCHECK(opened != nullptr))
    return;
  WCHECK_EQ(link.lastStatus(), KV7SUCCESS);
  WCHECK_EQ(clock.nowMs(), 300); // the pause after an open
  opened->close();
  WCHECK(!opened->isOpen());

  const auto line = ReadLineSettings(settings.port);
  if (!WCHECK(line.has_value()))
    return;
  WCHECK_EQ(line->baud, 115200UL);
  WCHECK_EQ(line->byteSize, 8);
  WCHECK_EQ(line->parity, 0);   // no parity
  WCHECK_EQ(line->stopBits, 0); // one stop bit
  WCHECK(line->binary);
  WCHECK(!line->ctsFlow && !line->dsrFlow);
  WCHECK(!line->xonXoffOut && !line->xonXoffIn);
  WCHECK(!line->nullDiscard); // commands go out with their zero byte
}

void BaudChangesReachTheLine(const TestSettings& settings, Checks& checks) {
  auto port = MakePlatformSerialPort();
  if (!WCHECK(Ok(port->open(settings.port))))
    return;
  WCHECK(Ok(port->applyTimeouts()));
  WCHECK(Ok(port->applyLineSettings(4800)));
  port->close();
  auto line = ReadLineSettings(settings.port);
  WCHECK(line.has_value() && line->baud == 4800UL && line->byteSize == 8);

  if (!WCHECK(Ok(port->open(settings.port))))
    return;
  WCHECK(port->applyLineSettings(9600).has_value()); // only the two rates the device uses
  WCHECK(Ok(port->applyLineSettings(115200)));
  port->close();
  line = ReadLineSettings(settings.port);
  WCHECK(line.has_value() && line->baud == 115200UL);
}

void SecondOpenIsRefused(const TestSettings& settings, Checks& checks) {
  if (RunningUnderWine()) {
    checks.skip("wine does not refuse a second open of a port");
    return;
  }
  auto first = MakePlatformSerialPort();
  auto second = MakePlatformSerialPort();
  if (!WCHECK(Ok(first->open(settings.port))))
    return;
  WCHECK_EQ(std::string(ErrorName(second->open(settings.port))), std::string("Busy"));
  first->close();
  WCHECK(Ok(second->open(settings.port))); // free again once the first holder let go
}

void SilentReadsEndWithinTheirTimeouts(const TestSettings& settings, Checks& checks) {
  VirtualClock clock;
  DeviceLink link(clock);
  const auto port = link.OpenPort(settings.port);
  if (!WCHECK(port != nullptr))
    return;
  port->purgeReceive();
  // One byte: 15 + 15 ms. Without the port's time-outs a read would wait for a byte that never
  // comes, until the backend gives up on it a second later.
  std::uint8_t byte = 0;
  auto start = SteadyClock::now();
  const ReadResult silent = port->read(&byte, 1);
  WCHECK_EQ(silent.count, std::size_t{0});
  WCHECK(!silent.failure); // nothing came, and nothing failed
  auto elapsed = MsSince(start);
  WCHECK(elapsed >= 20);
  WCHECK(elapsed < 900);

  // Nine bytes, as the replies are polled: 150 ms.
  std::uint8_t reply[9] = {};
  start = SteadyClock::now();
  WCHECK_EQ(port->read(reply, sizeof reply).count, std::size_t{0});
  elapsed = MsSince(start);
  WCHECK(elapsed >= 120);
  WCHECK(elapsed < 1000);
  WCHECK(!port->hasGone()); // a silent line is not a pulled cable
}

} // namespace

std::vector<TestCase> ListedPortTests(const TestSettings& settings) {
  return {
      {"ComPortTable", ComPortTable},
      {"DeviceAboveTheTableIsFound", [&](Checks& c) { DeviceAboveTheTableIsFound(settings, c); }},
  };
}

std::vector<TestCase> PortTests(const TestSettings& settings) {
  return {
      {"ComPortTable", ComPortTable},
      {"MissingPortIsRefused", [&](Checks& c) { MissingPortIsRefused(settings, c); }},
      {"OpenLeavesTheLineAt115200_8N1",
       [&](Checks& c) { OpenLeavesTheLineAt115200_8N1(settings, c); }},
      {"BaudChangesReachTheLine", [&](Checks& c) { BaudChangesReachTheLine(settings, c); }},
      {"SecondOpenIsRefused", [&](Checks& c) { SecondOpenIsRefused(settings, c); }},
      {"SilentReadsEndWithinTheirTimeouts",
       [&](Checks& c) { SilentReadsEndWithinTheirTimeouts(settings, c); }},
  };
}

} // namespace quillon::wintest
