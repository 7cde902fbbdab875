#include "tests/windows/windows_probe.h"

#include <windows.h>

namespace quillon::wintest {

std::optional<LineSettings> ReadLineSettings(const std::string& port) {
  const HANDLE handle = CreateFileA(port.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return std::nullopt;
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  const bool read = GetCommState(handle, &dcb) != FALSE;
  CloseHandle(handle);
  if (!read)
    return std::nullopt;
  LineSettings settings;
  settings.baud = dcb.BaudRate;
  settings.byteSize = dcb.ByteSize;
  settings.parity = dcb.Parity;
  settings.stopBits = dcb.StopBits;
  settings.binary = dcb.fBinary != 0;
  settings.ctsFlow = dcb.fOutxCtsFlow != 0;
  settings.dsrFlow = dcb.fOutxDsrFlow != 0;
  settings.xonXoffOut = dcb.fOutX != 0;
  settings.xonXoffIn = dcb.fInX != 0;
  settings.nullDiscard = dcb.fNull != 0;
  return settings;
}

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace quillon::wintest
