#include "log/update_log.h"

#include "log/platform_log.h"

#include <cstring>
#include <ctime>
#include <string_view>

namespace quillon {
namespace {

// Message and debugger copy: kMaxMessage characters and the terminator.
constexpr std::size_t kMessageBufferSize = UpdateLog::kMaxMessage + 1;
// "2007-05-14 09:31:02" and room to spare.
constexpr std::size_t kTimestampSize = 24;

constexpr int kLowestLevel = 0;
constexpr int kDescriptiveLevel = 3;

// Where the directory part of a file-system path ends on this platform.
std::size_t lastPathSeparator(std::string_view path) {
  return path.find_last_of(platform_log::kPathSeparators);
}

// Source paths may come from either platform's compiler: both separators count.
std::size_t lastSourceSeparator(std::string_view path) {
  return path.find_last_of("\\/");
}

// One call always yields one line: line breaks inside the message become '|'.
void flattenLineBreaks(char* message) {
  for (char* p = message; *p != '\0'; ++p) {
    if (*p == '\r' || *p == '\n')
      *p = '|';
  }
}

void formatTimestamp(char (&timestamp)[kTimestampSize]) {
  std::tm local{};
  if (platform_log::toLocalTime(std::time(nullptr), local))
    std::strftime(timestamp, sizeof timestamp, "%Y-%m-%d %H:%M:%S", &local);
}

} // namespace

UpdateLog::~UpdateLog() {
  close();
}

bool UpdateLog::open(const char* fileName) {
  close();
  logPath_[0] = '\0';
  folder_.clear();
  char directory[kPathSize];
  if (!platform_log::executablePath(directory, sizeof directory))
    return false;
  // A separator in front is no directory we can name (a bare "\prog.exe").
  const std::size_t separator = lastPathSeparator(directory);
  if (separator == std::string_view::npos || separator == 0)
    return false;
  folder_.assign(directory, separator);
  directory[separator + 1] = '\0';
  return openPath(directory, fileName);
}

bool UpdateLog::openIn(const char* directory, const char* fileName) {
  close();
  logPath_[0] = '\0';
  folder_.clear();
  if (directory == nullptr || directory[0] == '\0')
    return false;
  folder_ = directory;
  // "/" names itself; any other folder is shown without its trailing separator.
  if (folder_.size() > 1 && lastPathSeparator(folder_) == folder_.size() - 1)
    folder_.pop_back();
  return openPath(directory, fileName);
}

bool UpdateLog::openPath(const char* directory, const char* fileName) {
  if (fileName == nullptr || fileName[0] == '\0')
    return false;
  const std::size_t directoryLength = std::strlen(directory);
  const bool needsSeparator = lastPathSeparator(directory) != directoryLength - 1;
  const std::size_t pathLength = directoryLength + (needsSeparator ? 1 : 0) + std::strlen(fileName);
  // A cut path would name some other file: refuse instead.
  if (pathLength >= sizeof logPath_)
    return false;
  std::memcpy(logPath_, directory, directoryLength);
  std::size_t at = directoryLength;
  if (needsSeparator)
    logPath_[at++] = platform_log::kPathSeparator;
  std::memcpy(logPath_ + at, fileName, std::strlen(fileName) + 1);
  // A full disk takes the open but none of the lines, a device such as /dev/full the same,
  // and a pipe would hold the wizard until someone read it: better refused now, and said.
  if (!platform_log::hasRoomIn(directory) || !platform_log::isPlainFileOrAbsent(logPath_))
    return false;
  // Binary append: exactly the CR LF we write reaches the file, and earlier runs stay.
  file_ = platform_log::openForAppend(logPath_);
  return file_ != nullptr;
}

void UpdateLog::close() {
  if (file_ != nullptr)
    std::fclose(file_);
  file_ = nullptr;
}

void UpdateLog::setLevel(int level) {
  if (level < kLowestLevel)
    level = kLowestLevel;
  if (level > kDescriptiveLevel)
    level = kDescriptiveLevel;
  logLevel_ = level;
}

int UpdateLog::level() const {
  return logLevel_;
}

const char* UpdateLog::logPath() const {
  return logPath_;
}

void UpdateLog::enter() {
  lock_.lock();
}

void UpdateLog::setSource(const char* path) {
  if (path == nullptr)
    path = "";
  const std::size_t separator = lastSourceSeparator(path);
  const char* name = separator == std::string_view::npos ? path : path + separator + 1;
  std::size_t length = std::strlen(name);
  if (length >= sizeof sourceFile_)
    length = sizeof sourceFile_ - 1;
  std::memcpy(sourceFile_, name, length);
  sourceFile_[length] = '\0';
}

void UpdateLog::info(const char* fmt, ...) {
  std::va_list args;
  va_start(args, fmt);
  write(LineKind::Info, fmt, args);
  va_end(args);
}

void UpdateLog::error(const char* fmt, ...) {
  std::va_list args;
  va_start(args, fmt);
  write(LineKind::Error, fmt, args);
  va_end(args);
}

void UpdateLog::devInfo(const char* fmt, ...) {
  std::va_list args;
  va_start(args, fmt);
  write(LineKind::DevInfo, fmt, args);
  va_end(args);
}

int UpdateLog::lowestLevel(LineKind kind) {
  switch (kind) {
  case LineKind::Error:
    return 1;
  case LineKind::Info:
    return 2;
  case LineKind::DevInfo:
    return kDescriptiveLevel;
  }
  return kDescriptiveLevel;
}

const char* UpdateLog::kindWord(LineKind kind) {
  switch (kind) {
  case LineKind::Error:
    return "Error";
  case LineKind::Info:
    return "Info";
  case LineKind::DevInfo:
    return "DevInfo";
  }
  return "Error";
}

void UpdateLog::write(LineKind kind, const char* fmt, std::va_list args) {
  // The caller took the lock in enter(); it is left here on every path.
  const std::lock_guard<std::mutex> held(lock_, std::adopt_lock);
  // Filter before any formatting: suppressed lines cost only the lock.
  if (logLevel_ < lowestLevel(kind))
    return;
  const platform_log::LastError saved = platform_log::saveLastError();
  char message[kMessageBufferSize] = {};
  if (fmt != nullptr)
    std::vsnprintf(message, sizeof message, fmt, args);
  flattenLineBreaks(message);
  writeLine(kind, message);
  platform_log::restoreLastError(saved);
}

void UpdateLog::writeLine(LineKind kind, const char* message) {
  if (file_ == nullptr)
    return;
  char timestamp[kTimestampSize] = {};
  formatTimestamp(timestamp);
  if (logLevel_ == kDescriptiveLevel)
    std::fprintf(file_, "%s\t%s\t%s, %d\t%s\r\n", timestamp, kindWord(kind), sourceFile_,
                 sourceLine, message);
  else
    std::fprintf(file_, "%s\t%s\t%s\r\n", timestamp, kindWord(kind), message);
  // Every line reaches the system at once: after a crash or a kill mid-flash the log must
  // still show how far the update got.
  std::fflush(file_);
  char debuggerCopy[kMessageBufferSize] = {};
  std::snprintf(debuggerCopy, sizeof debuggerCopy, "%s\r\n", message);
  platform_log::sendToDebugger(debuggerCopy);
}

UpdateLog& updateLog() {
  static UpdateLog log;
  return log;
}

} // namespace quillon
