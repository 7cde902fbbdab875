#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "sim/virtual_yardmark.h"

namespace quillon::sim {

// The lines the virtual Yardmark's programs take on standard input: "power off", "power on",
// "unplug", "plug in" (answered with the new path the host opens), "status" (answered with
// "state ready baud 115200 frames 0 programmed 0") and "quit".
enum class ConsoleVerdict { Continue, Quit };

// Status answers go to `out`; an unknown line is reported on `err`, after the program's name.
ConsoleVerdict ObeyConsoleLine(const std::string& line, VirtualYardmark& device,
                               std::ostream& out, std::ostream& err, std::string_view program);

// "off", "ready", "command", "passthrough", "boot-loader", "flashing", "done", "unplugged".
const char* StateName(DeviceState state);

} // namespace quillon::sim
