// A device whose cable is pulled while it answers "KV7-G": the backend must see the port go,
// and nothing may then wait on it or spin.

#include <chrono>

#include "base/clock.h"
#include "link/device_link.h"
#include "tests/windows/suites.h"

namespace quillon::wintest {
namespace {

void PulledCableIsSeen(const TestSettings& settings, Checks& checks) {
  SystemClock clock(settings.timeScale);
  DeviceLink link(clock);
  link.setCandidatePorts({settings.port});
  if (!WCHECK_EQ(link.FindDevice(), KV7SUCCESS))
    return;
  WCHECK(!link.IsPortGone());

  WCHECK(link.ReadGpsVersion() != KV7SUCCESS);
  WCHECK(link.IsPortGone());

  // From now on every read ends at once with nothing, and every write fails.
  std::uint8_t reply[9] = {};
  const auto start = std::chrono::steady_clock::now();
  WCHECK_EQ(link.ReadBytes(reply, sizeof reply), std::size_t{0});
  WCHECK_EQ(link.ExpectReply("SA-77"), KV7NORESPONSE);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  WCHECK(elapsed < std::chrono::milliseconds(100));
  WCHECK(link.WriteByte(0x55) != KV7SUCCESS);
}

} // namespace

std::vector<TestCase> UnplugTests(const TestSettings& settings) {
  return {{"PulledCableIsSeen", [&](Checks& c) { PulledCableIsSeen(settings, c); }}};
}

} // namespace quillon::wintest
