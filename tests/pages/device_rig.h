#pragma once

#include "link/device_link.h"
#include "log_capture.h"
#include "pages/firmware_load_page.h"
#include "pages/pumping_clock.h"
#include "pages/reset_and_verify_page.h"
#include "recording_views.h"
#include "sim/virtual_yardmark.h"
#include "tests/link/faulty_port.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon::testing {

inline constexpr const char* kOldGps = "$PASHR,VER,GPS,1.0.00";
inline constexpr const char* kNewGps = "$PASHR,VER,GPS,2.0.00";

// Writes a firmware file of the first `records` data records of the sample firmware, with its
// S0 header and its S7 end record, and returns its path.
std::filesystem::path writeFirmware(const std::filesystem::path& directory, int records,
                                    const std::string& name = "firmware.mot");

// Virtual time that still gives the virtual Yardmark its share of real time: the device runs
// at 1/20 of real time, so the page and the device link pause 1/20 of each of their waits for
// real. Without it the page would, for example, raise the line to 115200 baud before the
// device had read the passthrough commands it sent at 4800, and the link would read a data
// reply before the device had sent it.
// The flash loader never pauses: it reads until a time-out has passed. The real time spent
// outside the pauses therefore counts too, at the device's scale, so that a reply lost on the
// line ends in the loader's resend (and a dead boot loader in the page's watchdog) as in the
// program, instead of in a wait that never ends.
// A long real gap between two looks at the clock is the test process waiting for a processor
// (a loaded machine, a sanitizer build), which no device ever sees: it counts only up to
// kLongestCountedGap. Counted in full, a 200-ms preemption would be a 4-s record time-out,
// and the resend it provokes would race the device's late answer to the first copy.
// For the same reason no working time counts while the device is behind: it has not yet read
// what was sent, or has an answer due that it has not sent, because its thread got no
// processor. A real device is never that far behind the line; a device that stays behind for
// kLongestCatchUp (pulled cable, flushed bytes) no longer holds the clock.
// A pause also lasts until the device has read and acted on every byte sent before it and sent
// what was due by then, as a real line and device would have: on a busy machine the device's
// thread may not have run at all during the pause's share of real time, and would then, say,
// read the GPS chip's update command only after the line went up to 115200 baud, or send the
// GPS version after the link's read of it had ended.
class PacedClock final : public Clock {
public:
  static constexpr double kScale = 0.05;
  // One device second, in real time.
  static constexpr std::chrono::duration<double> kLongestCountedGap{kScale};
  // How long a pause waits at most for the device to catch up.
  static constexpr std::chrono::seconds kLongestCatchUp{5};
  void sleepMs(int ms) override;
  std::int64_t wholeSeconds() override;
  VirtualClock time;
  std::function<bool()> deviceCaughtUp;

private:
  using Steady = std::chrono::steady_clock;
  void countWorkingTime();

  Steady::time_point lastLook_ = Steady::now();
  Steady::duration working_{};
  std::optional<Steady::time_point> behindSince_;
};

// Device pages on a virtual Yardmark over a pseudo-terminal. Time is virtual: the page's waits
// are recorded as "wait N" and the device link's as "device wait N", in the same event list
// as the window's calls, so a test sees where the device was talked to.
class DeviceRig {
public:
  explicit DeviceRig(sim::YardmarkOptions options = {}, int firmwareRecords = 250);
  ~DeviceRig();

  // The inputs the driver would hand over from a good Orbfix.dat.
  void handInputs(int minBattery = 30, const std::string& minApp = "1.2",
                  const std::string& target = kNewGps);
  int runUpdate();
  int runVerify();
  // What the golfer does between the two device pages.
  void powerCycle();

  // Events from the first notice on, the device link's waits shown as "device" (the link was
  // talking to the Yardmark); and every event without the link's waits.
  std::vector<std::string> fromNotice() const;
  std::vector<std::string> pageEvents() const;
  std::vector<std::string> logOf(const std::string& module) const;

  LogCapture capture;
  // Where the host finds the device: a link that goes when the cable is pulled, so that a
  // host trying again never meets the pseudo-terminal number another test took over.
  const std::string devicePort = (capture.directory() / "yardmark").string();
  std::filesystem::path firmware;
  EventLog events;
  PacedClock clock;
  VirtualClock& time = clock.time;
  RecordingClock pageWaits{clock, events, ""};
  PumpingClock pageClock{pageWaits};
  RecordingClock deviceWaits{clock, events, "device"};
  // Refusals a pseudo-terminal cannot produce, laid over the real port.
  PortFaults portFaults;
  DeviceLink link{deviceWaits, FaultyPorts(portFaults)};
  std::unique_ptr<sim::VirtualYardmark> device;
  RecordingProgressView view{events};
  RecordingProgressView verifyView{events};
  OrbfixValues inputs;
  FirmwareLoadPage update{link, pageClock, inputs};
  ResetAndVerifyPage verify{link, pageClock, inputs};
};

} // namespace quillon::testing
