// The update log's Windows side: the file lands beside the executable, joined with a
// backslash, and logging leaves GetLastError() as the caller had it.

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "log/update_log.h"
#include "tests/windows/suites.h"

namespace quillon::wintest {
namespace {

constexpr char kLogName[] = "quillon-wintest.log";

std::string ExecutableDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full(path, length);
  const auto cut = full.find_last_of('\\');
  return cut == std::string::npos ? std::string() : full.substr(0, cut + 1);
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void LogFileBesideTheExecutable(Checks& checks) {
  const std::string expectedPath = ExecutableDirectory() + kLogName;
  std::remove(expectedPath.c_str());
  {
    UpdateLog log;
    if (!WCHECK(log.open(kLogName)))
      return;
    WCHECK_EQ(std::string(log.logPath()), expectedPath);
    log.setLevel(1);
    log.enter();
    log.sourceLine = __LINE__;
    log.setSource("C:\\src\\pages\\Step3Update.cpp");
    log.error("Port %s answered %d", "\\\\.\\Com5", 0);
  }
  const std::string text = FileText(expectedPath);
  // "yyyy-mm-dd hh:mm:ss" TAB "Error" TAB message CR LF
  WCHECK_EQ(text.size(), std::string("2007-05-14 09:31:02\tError\tPort \\\\.\\Com5 answered 0\r\n").size());
  WCHECK(text.find("\tError\tPort \\\\.\\Com5 answered 0\r\n") == 19);
  std::remove(expectedPath.c_str());
}

void LoggingKeepsTheLastError(Checks& checks) {
  UpdateLog log;
  WCHECK(log.open(kLogName));
  log.setLevel(3);
  SetLastError(ERROR_SEM_TIMEOUT);
  log.enter();
  log.sourceLine = __LINE__;
  log.setSource(__FILE__);
  log.devInfo("after a failed call: %lu", 121UL);
  WCHECK_EQ(GetLastError(), static_cast<DWORD>(ERROR_SEM_TIMEOUT));
  log.close();
  std::remove(log.logPath());
}

} // namespace

std::vector<TestCase> LogTests() {
  return {{"LogFileBesideTheExecutable", LogFileBesideTheExecutable},
          {"LoggingKeepsTheLastError", LoggingKeepsTheLastError}};
}

} // namespace quillon::wintest
