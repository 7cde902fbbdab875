#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillon {

// The serial devices a tty class directory describes (normally /sys/class/tty), as paths
// under `devDir` (normally /dev): USB serial adapters (ttyUSB*), CDC ACM devices (ttyACM*) and
// UARTs with hardware behind them (ttyS* bound to a driver and of a known UART type; the
// kernel registers a row of ttyS ports that have nothing behind them). Sorted by name with
// numbers in numeric order (ttyS2 before ttyS10), at most kMaxCandidatePorts.
std::vector<std::string> ListCandidatePortsUnder(const std::string& ttyClassDir,
                                                 const std::string& devDir);

inline constexpr std::size_t kMaxCandidatePorts = 32;

} // namespace quillon
