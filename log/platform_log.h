#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>

// What the update log needs from the operating system, one function each, so the log itself
// stays free of platform conditionals.
namespace quillon::platform_log {

// The separator this platform's paths are joined with, and every one it splits them on.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr char kPathSeparators[] = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr char kPathSeparators[] = "/";
#endif

// The calling thread's last-error values: errno everywhere, and GetLastError on Windows
// (always 0 elsewhere). Callers of the log read these right after a failed call, so logging
// that failure must not change them.
struct LastError {
  int errnoValue = 0;
  unsigned long systemValue = 0;
};
LastError saveLastError();
void restoreLastError(const LastError& saved);

// Full path of the running executable into `buffer`, in UTF-8. False when it cannot be read or does
// not fit `size` bytes with its terminator (a cut path would name the wrong directory).
bool executablePath(char* buffer, std::size_t size);

// False when the disk holding `directory` reports no room left for us; true when it has room
// or cannot say.
bool hasRoomIn(const char* directory);

// False when `path` names something other than a plain file (a folder, a device, a pipe);
// true when it is a plain file or not there yet.
bool isPlainFileOrAbsent(const char* path);

// Opens `path` for appending bytes as they are written, creating it when it is not there.
// Paths are UTF-8 everywhere; Windows opens them as UTF-16.
std::FILE* openForAppend(const char* path);

// Converts calendar time to local time, thread-safely.
bool toLocalTime(std::time_t when, std::tm& local);

// The debugger copy of a log line: the debugger output on Windows, standard error elsewhere.
void sendToDebugger(const char* text);

} // namespace quillon::platform_log
