#include "sim/console_lines.h"

namespace quillon::sim {

const char* StateName(DeviceState state) {
  switch (state) {
  case DeviceState::Off:
    return "off";
  case DeviceState::Ready:
    return "ready";
  case DeviceState::Command:
    return "command";
  case DeviceState::Passthrough:
    return "passthrough";
  case DeviceState::BootLoader:
    return "boot-loader";
  case DeviceState::Flashing:
    return "flashing";
  case DeviceState::Done:
    return "done";
  case DeviceState::Unplugged:
    return "unplugged";
  }
  return "?";
}

ConsoleVerdict ObeyConsoleLine(const std::string& line, VirtualYardmark& device,
                               std::ostream& out, std::ostream& err, std::string_view program) {
  if (line == "quit")
    return ConsoleVerdict::Quit;
  if (line == "power off")
    device.powerOff();
  else if (line == "power on")
    device.powerOn();
  else if (line == "unplug")
    device.unplug();
  else if (line == "plug in") {
    if (!device.plugIn())
      err << program << ": " << device.error() << std::endl;
    else
      out << device.slavePath() << std::endl;
  } else if (line == "status")
    out << "state " << StateName(device.state()) << " baud " << device.lineBaud() << " frames "
        << device.framesReceived() << " programmed " << device.programmedBytes() << std::endl;
  else if (!line.empty())
    err << program << ": unknown line \"" << line
        << "\" (power off, power on, unplug, plug in, status, quit)" << std::endl;
  return ConsoleVerdict::Continue;
}

} // namespace quillon::sim
