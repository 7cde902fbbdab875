// A firmware file of 16 MiB, made by srec_cat from random bytes at test time: far more than
// the GPS chip's firmware ever is, and still a valid file, so the update must go through and
// the flash must hold every byte of it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "pages/Step3Update.h"
#include "tests/faults/wizard_rig.h"

namespace quillon::testing {
namespace {

constexpr std::size_t kSixteenMiB = 16U << 20;
constexpr double kBoundSeconds = 150.0;

std::filesystem::path makeLargeFirmware(const std::filesystem::path& directory) {
  const auto binary = directory / "large.bin";
  {
    std::mt19937 random(20261207);
    std::vector<char> bytes(kSixteenMiB);
    for (auto& byte : bytes)
      byte = static_cast<char>(random() & 0xFF);
    std::ofstream out(binary, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  const auto firmware = directory / "large.mot";
  const std::string command = "srec_cat '" + binary.string() + "' -binary -offset 0x2D000000 -o '" +
                              firmware.string() + "' -motorola";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return firmware;
}

TEST(LargeFirmware, SixteenMebibytesAreLoadedAndVerified) {
  const auto start = std::chrono::steady_clock::now();
  WizardRig wizard;
  const auto firmware = makeLargeFirmware(wizard.rig.capture.directory());
  sim::YardmarkOptions options;
  options.firmwarePath = firmware.string();
  wizard.replaceDevice(options);
  wizard.writeOrbfix("Release 4", firmware.string());

  const RunOutcome outcome = wizard.run(false);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("FAULT-ROW LargeFirmware16MiB %.2f s\n", took.count());

  EXPECT_TRUE(outcome.noticeCaptions.empty()) << ::testing::PrintToString(outcome.noticeCaptions);
  EXPECT_TRUE(outcome.reachedFinish());
  EXPECT_TRUE(wizard.flashHolds(firmware));
  EXPECT_LT(took.count(), kBoundSeconds);
}

} // namespace
} // namespace quillon::testing
