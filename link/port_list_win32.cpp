// The COM ports discovery tries on Windows: always the same 32 device paths, in this order.

#include <string>

#include "link/port_list.h"
#include "link/serial_port.h"

namespace quillon {
namespace {

// "\\.\" reaches every COM port, COM10 and above included, which a bare "COM10" does not.
constexpr char kDeviceNamespace[] = "\\\\.\\";
constexpr int kMixedCasePorts = 30;

} // namespace

std::vector<std::string> ListCandidatePorts() {
  std::vector<std::string> paths;
  paths.reserve(kMaxCandidatePorts);
  // "Com1" to "Com30", then the last two in capitals; Windows ignores the case of the name.
  for (int number = 1; number <= kMixedCasePorts; ++number)
    paths.push_back(kDeviceNamespace + std::string("Com") + std::to_string(number));
  paths.push_back(kDeviceNamespace + std::string("COM31"));
  paths.push_back(kDeviceNamespace + std::string("COM32"));
  return paths;
}

} // namespace quillon
