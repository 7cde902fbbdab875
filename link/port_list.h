#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The system's serial devices in a stable order: what discovery tries when it is not handed a
// list of its own. On Linux at most kMaxCandidatePorts; on Windows the 32 ports of the COM
// port table, then every port above COM32 that Windows lists as present, ascending.
std::vector<std::string> ListCandidatePorts();

// The serial devices a tty class directory describes (normally /sys/class/tty), as paths
// under `devDir` (normally /dev): USB serial adapters (ttyUSB*), CDC ACM devices (ttyACM*) and
// UARTs with hardware behind them (ttyS* bound to a driver and of a known UART type; the
// kernel registers a row of ttyS ports that have nothing behind them). Sorted by name with
// numbers in numeric order (ttyS2 before ttyS10), at most kMaxCandidatePorts.
std::vector<std::string> ListCandidatePortsUnder(const std::string& ttyClassDir,
                                                 const std::string& devDir);

inline constexpr std::size_t kMaxCandidatePorts = 32;

// What the golfer can do about a port the system would not let them open, for the log line
// that names it; empty where the system has no such rule for serial ports.
std::string_view DeniedPortAdvice();

} // namespace quillon
