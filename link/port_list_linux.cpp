// Which of the system's tty devices are serial ports a Yardmark cable could be on.

#include "link/port_list.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

namespace quillon {
namespace {

namespace fs = std::filesystem;

// The families worth a hello; a terminal, a console or a pseudo-terminal never holds the cable.
constexpr std::array<std::string_view, 3> kSerialFamilies{"ttyUSB", "ttyACM", "ttyS"};

struct PortName {
  std::string family;
  unsigned long number = 0;
  std::string name;
};

// "ttyUSB12" -> {"ttyUSB", 12}; nothing for names outside the families or without a number.
std::optional<PortName> ParsePortName(const std::string& name) {
  for (const auto family : kSerialFamilies) {
    if (name.size() <= family.size() || name.compare(0, family.size(), family) != 0)
      continue;
    const std::string digits = name.substr(family.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return std::nullopt;
    if (digits.size() > 6)
      return std::nullopt;
    return PortName{std::string(family), std::stoul(digits), name};
  }
  return std::nullopt;
}

// The kernel's serial core reports the UART type; 0 is PORT_UNKNOWN, a slot with no chip.
bool HasKnownUartType(const fs::path& entry) {
  std::ifstream typeFile(entry / "type");
  int type = 0;
  return static_cast<bool>(typeFile >> type) && type != 0;
}

bool HasHardwareBehind(const fs::path& entry, const PortName& port) {
  std::error_code error;
  if (!fs::exists(entry / "device" / "driver", error))
    return false;
  return port.family != "ttyS" || HasKnownUartType(entry);
}

} // namespace

std::vector<std::string> ListCandidatePortsUnder(const std::string& ttyClassDir,
                                                 const std::string& devDir) {
  std::vector<PortName> found;
  std::error_code error;
  for (fs::directory_iterator it(ttyClassDir, error), end; !error && it != end;
       it.increment(error)) {
    const auto port = ParsePortName(it->path().filename().string());
    if (port && HasHardwareBehind(it->path(), *port))
      found.push_back(*port);
  }
  std::sort(found.begin(), found.end(), [](const PortName& a, const PortName& b) {
    return a.family != b.family ? a.family < b.family : a.number < b.number;
  });
  if (found.size() > kMaxCandidatePorts)
    found.resize(kMaxCandidatePorts);
  std::vector<std::string> paths;
  for (const auto& port : found)
    paths.push_back((fs::path(devDir) / port.name).string());
  return paths;
}

std::vector<std::string> ListCandidatePorts() {
  return ListCandidatePortsUnder("/sys/class/tty", "/dev");
}

// The serial devices belong to the dialout group; a new group applies from the next login.
std::string_view DeniedPortAdvice() {
  return "add yourself to the dialout group (sudo usermod -aG dialout \"$USER\"), then log "
         "out and in again";
}

} // namespace quillon
