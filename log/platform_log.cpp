#include "log/platform_log.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/statvfs.h>
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

bool hasRoomIn(const char* directory) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExA(directory, &available, nullptr, nullptr))
    return true;
  return available.QuadPart > 0;
}

bool isPlainFileOrAbsent(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes == INVALID_FILE_ATTRIBUTES ||
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
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

bool hasRoomIn(const char* directory) {
  struct statvfs disk {};
  if (statvfs(directory, &disk) != 0)
    return true;
  return disk.f_bavail > 0;
}

bool isPlainFileOrAbsent(const char* path) {
  struct stat file {};
  return stat(path, &file) != 0 || S_ISREG(file.st_mode);
}

bool toLocalTime(std::time_t when, std::tm& local) {
  return localtime_r(&when, &local) != nullptr;
}

void sendToDebugger(const char* text) {
  std::fputs(text, stderr);
}

#endif

} // namespace quillon::platform_log
