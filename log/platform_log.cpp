#include "log/platform_log.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quillon::platform_log {

#ifdef _WIN32

LastError saveLastError() {
  return LastError{errno, GetLastError()};
}

void restoreLastError(const LastError& saved) {
  errno = saved.errnoValue;
  SetLastError(saved.systemValue);
}

bool executablePath(char* buffer, std::size_t size) {
  const DWORD capacity = static_cast<DWORD>(size);
  const DWORD length = GetModuleFileNameA(nullptr, buffer, capacity);
  // A length equal to the capacity means the path was cut to fit.
  return length > 0 && length < capacity;
}

bool toLocalTime(std::time_t when, std::tm& local) {
  return localtime_s(&local, &when) == 0;
}

void sendToDebugger(const char* text) {
  OutputDebugStringA(text);
}

#else

LastError saveLastError() {
  return LastError{errno, 0};
}

void restoreLastError(const LastError& saved) {
  errno = saved.errnoValue;
}

bool executablePath(char* buffer, std::size_t size) {
  if (size < 2)
    return false;
  const ssize_t length = readlink("/proc/self/exe", buffer, size - 1);
  // readlink does not terminate and silently cuts: a full buffer may be a cut path.
  if (length <= 0 || static_cast<std::size_t>(length) >= size - 1)
    return false;
  buffer[length] = '\0';
  return true;
}

bool toLocalTime(std::time_t when, std::tm& local) {
  return localtime_r(&when, &local) != nullptr;
}

void sendToDebugger(const char* text) {
  std::fputs(text, stderr);
}

#endif

} // namespace quillon::platform_log
