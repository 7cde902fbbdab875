#include "device_rig.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace quillon::testing {

std::filesystem::path writeFirmware(const std::filesystem::path& directory, int records,
                                    const std::string& name) {
  const char* source = std::getenv("QUILLON_SOURCE_DIR");
  const std::filesystem::path sample =
      std::filesystem::path(source ? source : ".") / "res/sample/gps_firmware.mot";
  std::ifstream in(sample);
  EXPECT_TRUE(in.is_open()) << sample;
  const std::filesystem::path path = directory / name;
  std::ofstream out(path, std::ios::binary);
  std::string line;
  int dataRecords = 0;
  std::string endRecord;
  while (std::getline(in, line)) {
    if (line.starts_with("S7") || line.starts_with("S8") || line.starts_with("S9"))
      endRecord = line;
    else if (line.starts_with("S0"))
      out << line << "\n";
    else if ((line.starts_with("S1") || line.starts_with("S2") || line.starts_with("S3")) &&
             dataRecords < records) {
      out << line << "\n";
      ++dataRecords;
    }
  }
  out << endRecord << "\n";
  return path;
}

void PacedClock::sleepMs(int ms) {
  time.sleepMs(ms);
  if (ms <= 0)
    return;
  // The pause counts once, at its virtual length: its real duration, oversleep included, is
  // kept out of the working time.
  countWorkingTime();
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms * kScale));
  const Steady::time_point giveUp = Steady::now() + kLongestCatchUp;
  while (deviceCaughtUp && !deviceCaughtUp() && Steady::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  lastLook_ = Steady::now();
}

std::int64_t PacedClock::wholeSeconds() {
  countWorkingTime();
  const auto workingMs = static_cast<std::int64_t>(
      std::chrono::duration<double, std::milli>(working_).count() / kScale);
  return (time.nowMs() + workingMs) / 1000;
}

void PacedClock::countWorkingTime() {
  const Steady::time_point now = Steady::now();
  const Steady::duration gap = now - lastLook_;
  lastLook_ = now;
  if (deviceCaughtUp && !deviceCaughtUp()) {
    if (!behindSince_)
      behindSince_ = now;
    if (now - *behindSince_ < kLongestCatchUp)
      return;
  } else {
    behindSince_.reset();
  }
  working_ += std::min(gap, std::chrono::duration_cast<Steady::duration>(kLongestCountedGap));
}

DeviceRig::DeviceRig(sim::YardmarkOptions options, int firmwareRecords) {
  capture.open(3);
  firmware = writeFirmware(capture.directory(), firmwareRecords);
  options.timeScale = PacedClock::kScale;
  options.firmwarePath = firmware.string();
  device = std::make_unique<sim::VirtualYardmark>(std::move(options));
  EXPECT_TRUE(device->start(devicePort)) << device->error();
  clock.deviceCaughtUp = [this] { return device->caughtUp(portFaults.bytesWritten); };
  link.setCandidatePorts({devicePort});
  handInputs();
}

DeviceRig::~DeviceRig() {
  link.ClosePort();
  device->stop();
}

void DeviceRig::handInputs(int minBattery, const std::string& minApp, const std::string& target) {
  inputs.minBatteryLevel = std::to_string(minBattery);
  inputs.minAppVersion = minApp;
  inputs.targetGpsVersion = target;
  inputs.firmwarePath = firmware.string();
}

int DeviceRig::runUpdate() {
  return update.run(view);
}
int DeviceRig::runVerify() {
  return verify.run(verifyView);
}

void DeviceRig::powerCycle() {
  device->powerOff();
  device->powerOn();
}

std::vector<std::string> DeviceRig::fromNotice() const {
  std::vector<std::string> out;
  for (const auto& event : events.events) {
    if (out.empty() && !event.starts_with("notice "))
      continue;
    out.push_back(event.starts_with("device wait") ? "device" : event);
  }
  return out;
}

std::vector<std::string> DeviceRig::pageEvents() const {
  std::vector<std::string> out;
  for (const auto& event : events.events)
    if (!event.starts_with("device wait"))
      out.push_back(event);
  return out;
}

std::vector<std::string> DeviceRig::logOf(const std::string& module) const {
  std::vector<std::string> out;
  for (const auto& line : capture.lines())
    if (line.module == module)
      out.push_back(line.kind + ": " + line.message);
  return out;
}

} // namespace quillon::testing
