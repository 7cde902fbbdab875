#include "gpsload/firmware_image.h"
#include "gpsload/uploader.h"
#include "link/device_link.h"
#include "pages/upload_watchdog.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(UploadWatchdog, AnUploaderCreatedWithoutADeviceCanNeverFinish) {
  const char* source = std::getenv("QUILLON_SOURCE_DIR");
  FirmwareImage image(
      (std::filesystem::path(source ? source : ".") / "res/sample/gps_firmware.mot").string());
  ASSERT_TRUE(image.isSRecord());
  VirtualClock clock;
  DeviceLink link(clock); // never found a device
  Uploader uploader(image, link, LoadAddressing::Addressed, 0x2D000000, 0xFFFFFFFF, clock);
  EXPECT_FALSE(uploader.Step());
  UploadWatchdog watchdog(uploader, link, clock);
  EXPECT_EQ(watchdog.stallReason(), "the Yardmark was not connected when the upload began");
}

} // namespace
} // namespace quillon
