#include "tests/sim/loader_host.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>

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

// The chip's first sentence is due 50 ms after passthrough began; paced at 4800 baud its 30
// bytes then spend 62.5 ms on the line, so the whole sentence cannot be in before 112 ms.
// (Unpaced it would be in at 50 ms; a slow test thread only makes the time longer.)
TEST(SerialPortMode, PacedOutputLeavesAtTheLineRate) {
  YardmarkOptions options = FastOptions();
  options.pace = true;
  Served s(options);
  ASSERT_TRUE(s.started);
  Greet(*s.host);
  const auto passthroughAsked = std::chrono::steady_clock::now();
  ASSERT_EQ(Exchange(*s.host, "KV7-g"), Bytes("KV7-g"));
  s.host->setBaud(4800);
  const auto sentence = s.host->read(30, 500ms);
  ASSERT_EQ(sentence.size(), 30u);
  EXPECT_EQ(sentence.back(), '\n');
  EXPECT_GE(std::chrono::steady_clock::now() - passthroughAsked, 105ms);
}

} // namespace
} // namespace quillon::sim::testing
