#include "gpsload/firmware_image.h"
#include "link/device_link.h"
#include "pages/orbfix_file.h"
#include "pages/wizard_driver.h"
#include "sim/virtual_yardmark.h"
#include "tests/docs/current_directory.h"
#include "tests/pages/device_rig.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

std::array<std::string, 5> ReleaseValues() {
  std::ifstream in(QUILLON_RELEASE_ORBFIX);
  EXPECT_TRUE(in.is_open()) << QUILLON_RELEASE_ORBFIX;
  std::array<std::string, 5> values;
  for (auto& value : values)
    value = readOrbfixLine(in);
  return values;
}

std::filesystem::path ReleaseFirmware() {
  const char* root = std::getenv("QUILLON_SOURCE_DIR");
  return std::filesystem::path(root ? root : ".") / "res/sample" / ReleaseValues()[2];
}

// The Orbfix.dat the package installs beside the program, with the firmware it names.
TEST(ReleaseOrbfix, NamesTheBundledFirmwareAndTheVersionItInstalls) {
  const auto values = ReleaseValues();
  EXPECT_EQ(values[0], kReleaseTag);
  EXPECT_EQ(values[2], "gps_firmware.mot") << "a plain name: the file lies beside Orbfix.dat";
  EXPECT_EQ(values[3], sim::YardmarkOptions{}.newGpsVersion);
  EXPECT_EQ(DeviceLink::TextToInt(values[4].c_str()), 30);
  EXPECT_LE(std::strtod(values[1].c_str(), nullptr),
            std::strtod(sim::YardmarkOptions{}.appVersion.c_str(), nullptr))
      << "the virtual Yardmark's application must be new enough for the release";

  FirmwareImage firmware(ReleaseFirmware().string());
  ASSERT_TRUE(firmware.opened()) << ReleaseFirmware();
  EXPECT_TRUE(firmware.isSRecord()) << firmware.refusal();
  EXPECT_GT(firmware.size(), 0);
}

// A golfer's whole run on the installed pair of files: the wizard reads the release's
// Orbfix.dat from its folder, loads the firmware beside it into the virtual Yardmark, and
// step 10 reads back the version the release promises.
TEST(ReleaseOrbfix, UpdatesTheVirtualYardmarkToTheVersionItNames) {
  constexpr int kEveryRecord = 1 << 20;
  DeviceRig rig({}, kEveryRecord);
  const auto folder = rig.capture.directory();
  std::filesystem::copy_file(QUILLON_RELEASE_ORBFIX, folder / "Orbfix.dat",
                             std::filesystem::copy_options::overwrite_existing);
  std::filesystem::copy_file(ReleaseFirmware(), folder / "gps_firmware.mot",
                             std::filesystem::copy_options::overwrite_existing);

  RecordingDialog dialog{rig.events};
  ScriptedRunner runner{rig.events};
  const auto next = [] { return press({PageInput::Forward}); };
  runner.answers = {next(),  next(), next(),
                    next(),  next(), runIt(),
                    next(),  Answer{std::vector<PageInput>{PageInput::Forward}, {}, [&rig] {
                              rig.powerCycle();
                            }},
                    next(),  runIt(), next()};
  {
    const CurrentDirectory inFolder(folder);
    WizardDriver(dialog, runner, rig.link, rig.pageClock, {"Orbfix.dat", folder.string()}).run();
  }
  EXPECT_EQ(runner.shownSteps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_TRUE(rig.events.contains("status Firmware Update Successful!"));
  EXPECT_TRUE(std::none_of(rig.events.events.begin(), rig.events.events.end(),
                           [](const std::string& e) { return e.find("notice") != e.npos; }));
  EXPECT_EQ(rig.device->state(), sim::DeviceState::Off);
}

} // namespace
} // namespace quillon::testing
