// Candidate ports from a tty class directory laid out as the kernel lays out /sys/class/tty.

#include "link/port_list.h"
#include "testsupport/scratch_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

class PortListTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs::create_directories(root_ / "devices" / "driver");
    fs::create_directories(root_ / "tty");
  }

  // A tty entry; `bound` gives it a device with a driver, `uartType` a serial-core type file.
  void addTty(const std::string& name, bool bound, int uartType = -1) {
    const fs::path entry = root_ / "tty" / name;
    fs::create_directories(entry);
    const fs::path device = root_ / "devices" / name;
    fs::create_directories(device);
    if (bound)
      fs::create_directory_symlink(root_ / "devices" / "driver", device / "driver");
    fs::create_directory_symlink(device, entry / "device");
    if (uartType >= 0)
      std::ofstream(entry / "type") << uartType << "\n";
  }

  std::vector<std::string> list() const {
    return ListCandidatePortsUnder((root_ / "tty").string(), "/dev");
  }

  test::ScratchFolder scratch_;
  const fs::path root_ = scratch_.path();
};

TEST_F(PortListTest, KeepsAdaptersAndRealUartsInNaturalOrder) {
  addTty("ttyUSB10", true);
  addTty("ttyUSB2", true);
  addTty("ttyACM0", true);
  addTty("ttyS0", true, 4);  // a 16550A on the board
  addTty("ttyS1", true, 0);  // a phantom slot: PORT_UNKNOWN
  addTty("ttyS2", false, 4); // no driver behind it
  addTty("ttyUSB3", false);  // adapter gone, entry lingering
  addTty("tty1", true);      // a virtual console
  addTty("ttyUSBx", true);   // not a numbered device
  EXPECT_EQ(list(), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB2",
                                              "/dev/ttyUSB10"}));
}

TEST_F(PortListTest, StopsAtThirtyTwo) {
  for (int i = 0; i < 40; ++i)
    addTty("ttyUSB" + std::to_string(i), true);
  const auto ports = list();
  ASSERT_EQ(ports.size(), kMaxCandidatePorts);
  EXPECT_EQ(ports.front(), "/dev/ttyUSB0");
  EXPECT_EQ(ports.back(), "/dev/ttyUSB31");
}

TEST_F(PortListTest, MissingDirectoryGivesNoPorts) {
  EXPECT_TRUE(ListCandidatePortsUnder((root_ / "absent").string(), "/dev").empty());
}

} // namespace
} // namespace quillon
