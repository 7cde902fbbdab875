#pragma once

#include "link/device_link.h"
#include "sim/virtual_yardmark.h"

#include <chrono>
#include <string>
#include <thread>

namespace quillon::test {

// Finds the started virtual Yardmark and hands the line over to its GPS chip's boot loader,
// as the firmware page does before it creates the loader. Empty when it got there, otherwise
// the step that failed.
inline std::string OpenBootLoader(DeviceLink& link, const sim::VirtualYardmark& device) {
  using namespace std::chrono_literals;
  link.setCandidatePorts({device.slavePath()});
  if (link.FindDevice() != KV7SUCCESS)
    return "FindDevice";
  if (link.StartGpsPassthrough() != KV7SUCCESS)
    return "StartGpsPassthrough";
  if (link.SetBaud4800() != KV7SUCCESS)
    return "SetBaud4800";
  if (link.PrepareGpsForLoad() != KV7SUCCESS)
    return "PrepareGpsForLoad";
  // The device samples the line speed as it reads: give it the time a real line would take
  // before the speed goes up.
  for (int i = 0; i < 200 && device.state() != sim::DeviceState::BootLoader; ++i)
    std::this_thread::sleep_for(5ms);
  if (link.SetBaud115200() != KV7SUCCESS)
    return "SetBaud115200";
  return "";
}

} // namespace quillon::test
