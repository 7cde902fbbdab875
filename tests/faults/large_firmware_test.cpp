// A firmware file of 16 MiB, made by srec_cat from random bytes at test time: far more than
// the GPS chip's firmware ever is, and still a valid file, so the update must go through and
// the flash must hold every byte of it. The sanitizer build runs the same path on 2 MiB: at
// its speed 16 MiB would take longer than the suite's time limit, and what it looks for
// (memory and undefined behaviour) does not need the size.
#include "pages/firmware_load_page.h"
#include "tests/faults/wizard_rig.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace quillon::testing {
namespace {

#ifdef QUILLON_SANITIZED_BUILD
constexpr std::size_t kImageBytes = 2U << 20;
#else
constexpr std::size_t kImageBytes = 16U << 20;
#endif
constexpr double kBoundSeconds = 150.0;

std::filesystem::path makeLargeFirmware(const std::filesystem::path& directory) {
  const auto binary = directory / "large.bin";
  {
    std::mt19937 random(20261207);
    std::vector<char> bytes(kImageBytes);
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

TEST(LargeFirmware, ALargeFileIsLoadedAndVerified) {
  const auto start = std::chrono::steady_clock::now();
  WizardRig wizard;
  const auto firmware = makeLargeFirmware(wizard.rig.capture.directory());
  sim::YardmarkOptions options;
  options.firmwarePath = firmware.string();
  wizard.replaceDevice(options);
  wizard.writeOrbfix("Release 4", firmware.string());

  const RunOutcome outcome = wizard.run(false);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(outcome.noticeCaptions.empty()) << ::testing::PrintToString(outcome.noticeCaptions);
  EXPECT_TRUE(outcome.reachedFinish());
  EXPECT_TRUE(wizard.flashHolds(firmware));
  EXPECT_LT(took.count(), kBoundSeconds);
}

} // namespace
} // namespace quillon::testing
