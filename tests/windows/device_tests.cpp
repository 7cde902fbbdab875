// A whole update against the virtual Yardmark on a mapped COM port, step by step as the wizard
// makes it: discovery over the COM port table, the device commands, passthrough, the baud
// changes and the upload through the GPS chip's boot loader; then, after the device has been
// switched off and on, the version read back.

#include "base/clock.h"
#include "gpsload/firmware_image.h"
#include "gpsload/uploader.h"
#include "link/device_link.h"
#include "tests/windows/suites.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace quillon::wintest {
namespace {

// The GPS chip's flash, as the wizard hands it to the flash loader.
constexpr std::uint32_t kFlashStart = 0x2D000000;
constexpr std::uint32_t kFlashEnd = 0xFFFFFFFF;
// Ample time for the device's answer to a hello to arrive.
constexpr int kAnswerTimeMs = 200;
// The firmware load page's pause after each device step.
constexpr int kAfterStepMs = 2000;
// Far more than an upload of the test firmware takes; the loader itself never gives up.
constexpr std::chrono::seconds kUploadLimit{180};

// The one link the tests share, as the wizard's main dialog holds one for the whole run.
struct Session {
  explicit Session(const TestSettings& testSettings)
      : settings(testSettings), clock(testSettings.timeScale), link(clock) {}
  const TestSettings& settings;
  SystemClock clock;
  DeviceLink link;
};

std::string Text(const char* buffer) {
  return std::string(buffer);
}

void DiscoveryFindsTheDeviceOnItsPort(Session& s, Checks& checks) {
  // The whole table, as the wizard scans it: only the mapped port holds a device.
  WCHECK_EQ(s.link.FindDevice(), KV7SUCCESS);
  WCHECK_EQ(Text(s.link.portName().data()), s.settings.port);
  WCHECK_EQ(static_cast<int>(s.link.mode()), static_cast<int>(ModeCommand));
  WCHECK(s.link.IsPortFound());
  WCHECK(s.link.hasPort());
}

// The device answers every hello. A receive purge must throw its answer away; without one
// the answer is there to read.
void ReceivePurgeDropsWaitingBytes(Session& s, Checks& checks) {
  SystemClock realTime; // the answer needs real time to cross the line
  std::uint8_t reply[9] = {};
  WCHECK_EQ(s.link.SendText("SA-28"), KV7SUCCESS);
  realTime.sleepMs(kAnswerTimeMs);
  WCHECK_EQ(s.link.PurgeReceive(), KV7SUCCESS);
  WCHECK_EQ(s.link.ReadBytes(reply, sizeof reply), std::size_t{0});

  WCHECK_EQ(s.link.SendText("SA-28"), KV7SUCCESS);
  realTime.sleepMs(kAnswerTimeMs);
  WCHECK(s.link.ReadBytes(reply, sizeof reply) >= 5);
  WCHECK_EQ(std::string(reinterpret_cast<const char*>(reply), 5), std::string("SA-77"));
}

void ReadDeviceInfo(Session& s, Checks& checks) {
  WCHECK_EQ(s.link.ReadDeviceInfo(), KV7SUCCESS);
  WCHECK_EQ(s.link.GetBatteryLevel().substr(0, 3), s.settings.battery);
  const std::optional<std::string> version = s.link.GetApplicationVersion();
  WCHECK_EQ(version.value_or("none"), s.settings.appVersion);
  WCHECK_EQ(Text(s.link.identity().data()), s.settings.identity);
}

void ReadGpsVersionBeforeTheUpdate(Session& s, Checks& checks) {
  WCHECK_EQ(s.link.ReadGpsVersion(), KV7SUCCESS);
  WCHECK_EQ(Text(s.link.gpsVersion().data()), s.settings.gpsVersion);
}

void ResetGps(Session& s, Checks& checks) {
  WCHECK_EQ(s.link.ResetGps(), KV7SUCCESS);
  WCHECK_EQ(s.link.ReadGpsVersion(), KV7SUCCESS); // the chip answers again after its restart
}

// The chip takes the passthrough commands only at 4800 baud and its boot loader talks only at
// 115200: the upload that follows works only if both changes reached the line.
void PassthroughAndBaudChanges(Session& s, Checks& checks) {
  WCHECK_EQ(s.link.SetBaud4800(), KV7INCORRECTMODE); // not before passthrough
  WCHECK_EQ(s.link.StartGpsPassthrough(), KV7SUCCESS);
  WCHECK_EQ(static_cast<int>(s.link.mode()), static_cast<int>(ModePassthrough));
  WCHECK_EQ(s.link.SetBaud4800(), KV7SUCCESS);
  WCHECK_EQ(s.link.highSpeed(), 0);
  WCHECK_EQ(s.link.PrepareGpsForLoad(), KV7SUCCESS);
  // As the firmware load page does: a written byte may still be on its way out of the PC, so
  // the line stays at 4800 baud a while before it changes.
  s.clock.sleepMs(kAfterStepMs);
  WCHECK_EQ(s.link.SetBaud115200(), KV7SUCCESS);
  WCHECK_EQ(s.link.highSpeed(), 1);
}

void UploadFirmware(Session& s, Checks& checks) {
  FirmwareImage image(s.settings.firmwarePath);
  if (!WCHECK(image.isSRecord()))
    return;
  Uploader uploader(image, s.link, LoadAddressing::Addressed, kFlashStart, kFlashEnd, s.clock);
  const auto giveUpAt = std::chrono::steady_clock::now() + kUploadLimit;
  bool done = false;
  while (!done && std::chrono::steady_clock::now() < giveUpAt && !s.link.IsPortGone()) {
    const bool again = uploader.Step();
    done = !again && uploader.state() == Uploader::FileDone;
  }
  if (!WCHECK(done)) {
    checks.expectEqual(uploader.state(), static_cast<int>(Uploader::FileDone),
                       "the loader's state when it was given up", __FILE__, __LINE__);
    return;
  }
  uploader.Finish();
  WCHECK(uploader.bytesSent() > 0);
  WCHECK_EQ(s.link.ExitGpsPassthrough(), KV7SUCCESS);
  WCHECK_EQ(static_cast<int>(s.link.mode()), static_cast<int>(ModeIdle));
  WCHECK_EQ(s.link.highSpeed(), 1);
}

// After the power cycle the chip starts from its new flash and reports the new version only if
// the flash holds exactly the firmware file's data.
void NewVersionAfterReset(Session& s, Checks& checks) {
  WCHECK_EQ(s.link.ResetGps(), KV7SUCCESS);
  WCHECK_EQ(s.link.ReadGpsVersion(), KV7SUCCESS);
  WCHECK_EQ(Text(s.link.gpsVersion().data()), s.settings.newGpsVersion);
}

void ShutDown(Session& s, Checks& checks) {
  WCHECK_EQ(s.link.ShutDown(), KV7SUCCESS);
  WCHECK_EQ(static_cast<int>(s.link.mode()), static_cast<int>(ModeIdle));
}

template <typename Body> auto InSession(const std::shared_ptr<Session>& session, Body body) {
  return [session, body](Checks& checks) { body(*session, checks); };
}

} // namespace

std::vector<TestCase> UpdateTests(const TestSettings& settings) {
  const auto s = std::make_shared<Session>(settings);
  return {
      {"DiscoveryFindsTheDeviceOnItsPort", InSession(s, DiscoveryFindsTheDeviceOnItsPort)},
      {"ReceivePurgeDropsWaitingBytes", InSession(s, ReceivePurgeDropsWaitingBytes)},
      {"ReadDeviceInfo", InSession(s, ReadDeviceInfo)},
      {"ReadGpsVersionBeforeTheUpdate", InSession(s, ReadGpsVersionBeforeTheUpdate)},
      {"ResetGps", InSession(s, ResetGps)},
      {"PassthroughAndBaudChanges", InSession(s, PassthroughAndBaudChanges)},
      {"UploadFirmware", InSession(s, UploadFirmware)},
  };
}

std::vector<TestCase> VerifyTests(const TestSettings& settings) {
  const auto s = std::make_shared<Session>(settings);
  return {
      {"DiscoveryFindsTheDeviceAgain", InSession(s, DiscoveryFindsTheDeviceOnItsPort)},
      {"NewVersionAfterReset", InSession(s, NewVersionAfterReset)},
      {"ShutDown", InSession(s, ShutDown)},
  };
}

} // namespace quillon::wintest
