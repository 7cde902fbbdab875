#include <climits>
#include <cstdlib>
#include <fcntl.h>

#include "tests/sim/loader_host.h"

namespace quillon::sim::testing {
namespace {

// A pseudo-terminal stands in for a null-modem cable: the device opens the slave as if it
// were a real serial port, the test talks on the master.
struct NullModem {
  NullModem() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    char name[PATH_MAX] = {};
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0)
      return;
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    portPath = name;
    host = std::make_unique<LineClient>(master);
  }
  std::string portPath;
  std::unique_ptr<LineClient> host;
};

TEST(SerialPortMode, DeviceAnswersOnARealPortAndFollowsTheProtocolsRates) {
  NullModem cable;
  ASSERT_NE(cable.host, nullptr);
  VirtualYardmark device(FastOptions());
  ASSERT_TRUE(device.startOnPort(cable.portPath)) << device.error();
  EXPECT_EQ(device.slavePath(), cable.portPath);
  EXPECT_EQ(device.lineBaud(), 115200);
  EXPECT_EQ(Exchange(*cable.host, "SA-28"), Bytes("SA-77"));
  EXPECT_EQ(Exchange(*cable.host, "KV7-g"), Bytes("KV7-g"));
  EXPECT_EQ(device.lineBaud(), 4800) << "the GPS chip's UART runs at 4800 baud";
  cable.host->send(kAllOff);
  cable.host->send(kUpdateFirmware);
  EXPECT_TRUE(cable.host->waitFor(kHello, 500ms));
  EXPECT_EQ(device.lineBaud(), 115200) << "the boot loader talks at 115200 baud";
}

TEST(SerialPortMode, MissingPortIsRefused) {
  VirtualYardmark device(FastOptions());
  EXPECT_FALSE(device.startOnPort("/dev/no-such-serial-port"));
  EXPECT_NE(device.error().find("/dev/no-such-serial-port"), std::string::npos);
}

// With pacing, a 31-byte sentence at 4800 baud spends 65 ms on the line.
TEST(SerialPortMode, PacedOutputLeavesAtTheLineRate) {
  YardmarkOptions options = FastOptions();
  options.pace = true;
  Served s(options);
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  ASSERT_EQ(Exchange(*s.host, "KV7-g"), Bytes("KV7-g"));
  s.host->setBaud(4800);
  ASSERT_FALSE(s.host->read(1, 300ms).empty());
  const auto first = std::chrono::steady_clock::now();
  const auto rest = s.host->read(30, 300ms);
  EXPECT_EQ(rest.size(), 30u);
  EXPECT_GE(std::chrono::steady_clock::now() - first, 55ms);
}

} // namespace
} // namespace quillon::sim::testing
