#include "log/platform_log.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include "base/utf16.h"

#include <string>
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
  // Every UTF-16 unit takes at least one byte of UTF-8: a path that fits `size` bytes fits
  // this many units.
  std::wstring wide(size, L'\0');
  const DWORD capacity = static_cast<DWORD>(wide.size());
  const DWORD length = GetModuleFileNameW(nullptr, wide.data(), capacity);
  // A length equal to the capacity means the path was cut to fit.
  if (length == 0 || length >= capacity)
    return false;
  const std::string utf8 = ToUtf8(std::wstring_view(wide.data(), length));
  if (utf8.empty() || utf8.size() >= size)
    return false;
  utf8.copy(buffer, utf8.size());
  buffer[utf8.size()] = '\0';
  return true;
}

bool hasRoomIn(const char* directory) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(ToWide(directory).c_str(), &available, nullptr, nullptr))
    return true;
  return available.QuadPart > 0;
}

bool isPlainFileOrAbsent(const char* path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ||
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

std::FILE* openForAppend(const char* path) {
  return _wfopen(ToWide(path).c_str(), L"ab");
}

bool toLocalTime(std::time_t when, std::tm& local) {
  return localtime_s(&local, &when) == 0;
}

void sendToDebugger(const char* text) {
  OutputDebugStringW(ToWide(text).c_str());
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

std::FILE* openForAppend(const char* path) {
  return std::fopen(path, "ab");
}

bool toLocalTime(std::time_t when, std::tm& local) {
  return localtime_r(&when, &local) != nullptr;
}

void sendToDebugger(const char* text) {
  std::fputs(text, stderr);
}

#endif

} // namespace quillon::platform_log
