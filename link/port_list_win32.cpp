// The COM ports discovery tries on Windows: always the same 32 device paths, in this order,
// then every further port that Windows lists as present with a number above 32, in ascending
// order. A USB serial cable is often given COM33 or higher on a PC that has seen many such
// devices; the fixed table alone would never find it.

#include "link/port_list.h"

#include <array>
#include <set>
#include <string>
#include <windows.h>

namespace quillon {
namespace {

// "\\.\" reaches every COM port, COM10 and above included, which a bare "COM10" does not.
constexpr char kDeviceNamespace[] = "\\\\.\\";
constexpr int kMixedCasePorts = 30;
constexpr int kTablePorts = 32;
// Where Windows lists the serial ports present now: one value per port, its data the port's
// name ("COM40").
constexpr wchar_t kSerialCommKey[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
// No real port number is longer; a longer one in a damaged registry is not a port.
constexpr int kMaxPortDigits = 4;

// The number of a listed port name: "COM" in any case, then a decimal number without leading
// zeros. Anything else (a port of another kind, a damaged value) is not one of ours.
int comNumber(const wchar_t* name, std::size_t length) {
  constexpr std::size_t kPrefix = 3;
  if (length <= kPrefix || length > kPrefix + kMaxPortDigits)
    return 0;
  for (std::size_t i = 0; i < kPrefix; ++i) {
    if ((name[i] | 0x20) != L"com"[i])
      return 0;
  }
  if (name[kPrefix] == L'0')
    return 0;
  int number = 0;
  for (std::size_t i = kPrefix; i < length; ++i) {
    if (name[i] < L'0' || name[i] > L'9')
      return 0;
    number = number * 10 + (name[i] - L'0');
  }
  return number;
}

// The numbers above the table's of the ports Windows lists as present, each once, ascending.
// No key (a PC without serial ports) lists none.
std::set<int> listedPortsAboveTable() {
  std::set<int> numbers;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialCommKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return numbers;
  std::array<wchar_t, 256> valueName{};
  std::array<wchar_t, 32> data{};
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(valueName.size());
    DWORD type = 0;
    DWORD dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    const LSTATUS status = RegEnumValueW(key, index, valueName.data(), &nameLength, nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &dataBytes);
    if (status == ERROR_NO_MORE_ITEMS)
      break;
    // A value too long for the buffers is no port name; the ones after it still count.
    if (status != ERROR_SUCCESS || type != REG_SZ)
      continue;
    // The data may or may not carry its terminating zero.
    std::size_t length = dataBytes / sizeof(wchar_t);
    while (length > 0 && data[length - 1] == L'\0')
      --length;
    if (const int number = comNumber(data.data(), length); number > kTablePorts)
      numbers.insert(number);
  }
  RegCloseKey(key);
  return numbers;
}

} // namespace

std::vector<std::string> ListCandidatePorts() {
  std::vector<std::string> paths;
  paths.reserve(kTablePorts);
  // "Com1" to "Com30", then the last two in capitals; Windows ignores the case of the name.
  for (int number = 1; number <= kMixedCasePorts; ++number)
    paths.push_back(kDeviceNamespace + std::string("Com") + std::to_string(number));
  paths.push_back(kDeviceNamespace + std::string("COM31"));
  paths.push_back(kDeviceNamespace + std::string("COM32"));
  for (const int number : listedPortsAboveTable())
    paths.push_back(kDeviceNamespace + std::string("COM") + std::to_string(number));
  return paths;
}

// Windows answers a port that another program holds with "access denied"; discovery reports
// that as busy, and there is no other permission on a COM port for the golfer to ask for.
std::string_view DeniedPortAdvice() {
  return {};
}

} // namespace quillon
