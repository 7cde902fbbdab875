// Whole transfers through a pseudo-terminal to the virtual Yardmark's boot loader, with and
// without its faults: afterwards the device's flash must hold exactly what srec_cat reads out
// of the firmware file.

#include "link/device_link.h"
#include "sim/virtual_yardmark.h"
#include "tests/loader/boot_loader_session.h"
#include "tests/loader/loader_rig.h"
#include "tests/loader/wire_image.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace quillon::test {
namespace {

using namespace std::chrono_literals;

// The longest one silent single-byte read takes: the loader's time-outs are counted on a
// virtual clock that moves by this much per step.
constexpr std::int64_t kReadBoundMs = 30;

struct Transfer {
  explicit Transfer(std::vector<std::string> faults) {
    firmware = WriteSRecordFile(
        {{kFlashStart, Pattern(10000, 7)}, {kFlashStart + 0x10000, Pattern(3000, 8)}});
    sim::YardmarkOptions options;
    options.timeScale = 0.05;
    options.erasePace = 1ms;
    // At the line's own rate, as a UART delivers it: the boot loader's answer to a frame
    // cannot come back before the frame has gone out.
    options.pace = true;
    options.firmwarePath = firmware;
    options.faults = std::move(faults);
    device = std::make_unique<sim::VirtualYardmark>(options);
  }

  void reachBootLoader() {
    ASSERT_TRUE(device->start()) << device->error();
    ASSERT_EQ(OpenBootLoader(link, *device), "");
  }

  // Steps the loader as the firmware page does, then sends the end frame.
  void upload() {
    FirmwareImage image(firmware);
    ASSERT_TRUE(image.isSRecord()) << image.refusal();
    Uploader loader(image, link, LoadAddressing::Addressed, kFlashStart, kFlashEnd, clock);
    loader.setTrace([this](std::string_view line) { traces.emplace_back(line); });
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (loader.state() != Uploader::FileDone) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "stuck in state " << loader.state();
      loader.Step();
      clock.advanceMs(kReadBoundMs);
      bytesAtEnd = loader.bytesSent();
    }
    loader.Finish();
    for (int i = 0; i < 400 && device->state() != sim::DeviceState::Done; ++i)
      std::this_thread::sleep_for(5ms);
    EXPECT_EQ(device->state(), sim::DeviceState::Done);
  }

  std::vector<std::uint8_t> flashAsBinary() const {
    const std::string dump = firmware + ".flash.s3";
    if (!device->writeFlashDump(dump))
      return {};
    return SrecCatBinary(dump, kFlashStart);
  }

  std::string firmware;
  std::unique_ptr<sim::VirtualYardmark> device;
  VirtualClock clock;
  DeviceLink link{clock};
  std::uint32_t bytesAtEnd = 0;
  std::vector<std::string> traces;
};

struct Case {
  const char* name;
  std::vector<std::string> faults;
  std::string_view shows; // a trace line that begins so shows the fault was met
};

class UploadToYardmark : public ::testing::TestWithParam<Case> {};

TEST_P(UploadToYardmark, FlashEqualsTheFirmwareFile) {
  Transfer t(GetParam().faults);
  t.reachBootLoader();
  ASSERT_FALSE(HasFatalFailure());
  t.upload();
  ASSERT_FALSE(HasFatalFailure());
  const std::vector<std::uint8_t> expected = SrecCatBinary(t.firmware, kFlashStart);
  ASSERT_FALSE(expected.empty());
  EXPECT_TRUE(t.flashAsBinary() == expected) << "the flash differs from the firmware file";
  EXPECT_EQ(t.bytesAtEnd, 10000u + 3000u);
  const auto shown = std::find_if(t.traces.begin(), t.traces.end(), [](const std::string& line) {
    return line.rfind(GetParam().shows, 0) == 0;
  });
  EXPECT_NE(shown, t.traces.end()) << "no trace line begins \"" << GetParam().shows << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Loader, UploadToYardmark,
    ::testing::Values(Case{"healthy", {}, "ERASING - OK"},
                      Case{"failWhileProgramming", {"fail=3"}, "PROG - fail"},
                      Case{"resetOnARecord", {"reset=4"}, "WAIT REC - reset"},
                      Case{"resendRequests", {"resend=2", "corrupt=5"}, "WAIT REC - 0081 resend"},
                      Case{
                          "debugReports", {"debug2=6", "debug1=3"}, "Handshake error - resending"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace quillon::test
