#pragma once

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

// printf-style checking of every log call's format against its arguments. Text that comes
// from files or the device must always go through "%s", never be the format itself.
#if defined(__MINGW_PRINTF_FORMAT)
#define QUILLON_LOG_FORMAT(fmtIndex, firstArg)                                                     \
  __attribute__((format(__MINGW_PRINTF_FORMAT, fmtIndex, firstArg)))
#elif defined(__GNUC__) || defined(__clang__)
#define QUILLON_LOG_FORMAT(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define QUILLON_LOG_FORMAT(fmtIndex, firstArg)
#endif

namespace quillon {

// The program's one log, "Orbfix.log" beside the executable: TAB-separated lines ended by
// CR LF, appended, each copied (message only) to the debugger output.
//
// Levels: 0 writes nothing, 1 errors, 2 errors and info, 3 (Descriptive Logging) everything,
// with the source module and line of each call.
//
// Calling protocol: enter() takes the lock, the caller sets sourceLine and setSource(), then
// exactly one of info()/error()/devInfo() writes (or filters) the line and leaves the lock.
// Use the QLOG_* macros below, which do the four steps at once. open(), openIn(), close()
// and setLevel() are called outside the lock.
class UpdateLog {
public:
  // Size of the path buffers (the platform's path limit), terminator included.
  static constexpr int kPathSize = 260;
  // Longest message kept; longer ones are cut.
  static constexpr int kMaxMessage = 1024;

  UpdateLog() = default;
  ~UpdateLog();
  UpdateLog(const UpdateLog&) = delete;
  UpdateLog& operator=(const UpdateLog&) = delete;

  // Opens `fileName` in the directory of the running executable for appending. Returns
  // false, with no file open, when that directory cannot be found, the full path would not
  // fit kPathSize, its disk has no room left, the name stands for something other than a
  // plain file, or the file cannot be opened; every later line is then silently dropped, and
  // the caller should say so.
  bool open(const char* fileName);
  // The same, in a given directory (with or without a trailing separator).
  bool openIn(const char* directory, const char* fileName);
  void close();

  void setLevel(int level);
  int level() const;
  // Full path of the log file last opened ("" before the first open or after a refusal).
  const char* logPath() const;
  // The folder the last open() or openIn() tried to write in, without a trailing separator;
  // "" when even that could not be found.
  const std::string& folder() const { return folder_; }
  bool isOpen() const { return file_ != nullptr; }

  // Step 1 of the calling protocol.
  void enter();
  // Names the module of the current call: the file-name part of `path` (after its last '\\'
  // or '/'; a module name has none), cut to fit its buffer.
  void setSource(const char* path);
  // Source line of the current call, assigned directly by the caller under the lock.
  int sourceLine = 0;

  // Each writes one line of its kind when the level lets it through, and always leaves the
  // lock. The platform's last-error value (errno, and GetLastError on Windows) is the same
  // after the call as before it.
  void info(const char* fmt, ...) QUILLON_LOG_FORMAT(2, 3);
  void error(const char* fmt, ...) QUILLON_LOG_FORMAT(2, 3);
  void devInfo(const char* fmt, ...) QUILLON_LOG_FORMAT(2, 3);

private:
  enum class LineKind { Info, Error, DevInfo };
  // The lowest level that lets a kind through, and the word that names it in the file.
  static int lowestLevel(LineKind kind);
  static const char* kindWord(LineKind kind);

  void write(LineKind kind, const char* fmt, std::va_list args) QUILLON_LOG_FORMAT(3, 0);
  void writeLine(LineKind kind, const char* message);
  bool openPath(const char* directory, const char* fileName);

  std::mutex lock_;
  std::FILE* file_ = nullptr;
  char logPath_[kPathSize] = {};
  int logLevel_ = 0;
  char sourceFile_[kPathSize] = {};
  std::string folder_;
};

// The one process-wide log, alive from its first use to process exit.
UpdateLog& updateLog();

} // namespace quillon

// The four-step calling protocol, written once. Nothing that could itself log runs between
// taking the lock and the entry point that leaves it.
//
// The module column names the code that wrote the line. Support staff compare logs across
// releases, so a module's name is fixed text, not the name its source file happens to have
// today: every file that logs states it once, before its first QLOG_* call, e.g.
//   constexpr char kLogModule[] = "QuillonDlg.cpp";
#define QUILLON_LOG_CALL(entryPoint, ...)                                                          \
  do {                                                                                             \
    ::quillon::updateLog().enter();                                                                \
    ::quillon::updateLog().sourceLine = __LINE__;                                                  \
    ::quillon::updateLog().setSource(kLogModule);                                                  \
    ::quillon::updateLog().entryPoint(__VA_ARGS__);                                                \
  } while (false)

#define QLOG_INFO(...) QUILLON_LOG_CALL(info, __VA_ARGS__)
#define QLOG_ERROR(...) QUILLON_LOG_CALL(error, __VA_ARGS__)
#define QLOG_DEVINFO(...) QUILLON_LOG_CALL(devInfo, __VA_ARGS__)
