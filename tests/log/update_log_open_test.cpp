// Where the log goes, what happens when it cannot go there, and what it leaves untouched.
#include "log/update_log.h"
#include "tests/log/log_test_support.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::splitCrLfLines;

void logError(UpdateLog& log, const char* text) {
  log.enter();
  log.sourceLine = 1;
  log.setSource(__FILE__);
  log.error("%s", text);
}

// The message field of every line in `file`.
std::vector<std::string> messagesIn(const fs::path& file) {
  std::vector<std::string> messages;
  for (const std::string& line : splitCrLfLines(readFile(file)))
    messages.push_back(test::splitTabs(line).back());
  return messages;
}

TEST(LogOpen, AppendsToWhatTheFileAlreadyHolds) {
  test::ScratchFolder dir;
  const fs::path file = dir.path() / "Orbfix.log";
  test::writeFile(file, "earlier run\r\n");
  for (const char* run : {"first run", "second run"}) {
    UpdateLog log;
    ASSERT_TRUE(log.openIn(dir.path().c_str(), "Orbfix.log"));
    log.setLevel(1);
    logError(log, run);
  }
  const std::string bytes = readFile(file);
  EXPECT_EQ(bytes.rfind("earlier run\r\n", 0), 0u);
  EXPECT_EQ(messagesIn(file), (std::vector<std::string>{"earlier run", "first run", "second run"}));
}

TEST(LogOpen, DirectoryWithOrWithoutTrailingSeparatorNamesTheSameFile) {
  test::ScratchFolder dir;
  const std::string plain = dir.path().string();
  UpdateLog log;
  ASSERT_TRUE(log.openIn(plain.c_str(), "Orbfix.log"));
  EXPECT_EQ(std::string(log.logPath()), plain + "/Orbfix.log");
  ASSERT_TRUE(log.openIn((plain + "/").c_str(), "Orbfix.log"));
  EXPECT_EQ(std::string(log.logPath()), plain + "/Orbfix.log");
}

TEST(LogOpen, OpensBesideTheExecutable) {
  const fs::path exeDir = fs::read_symlink("/proc/self/exe").parent_path();
  const std::string name = "update-log-test-" + std::to_string(getpid()) + ".log";
  UpdateLog log;
  ASSERT_TRUE(log.open(name.c_str()));
  EXPECT_EQ(fs::path(log.logPath()), exeDir / name);
  log.setLevel(1);
  logError(log, "beside the program");
  log.close();
  EXPECT_EQ(messagesIn(exeDir / name), std::vector<std::string>{"beside the program"});
  fs::remove(exeDir / name);
}

TEST(LogOpen, ReopeningMovesEveryLaterLineToTheNewFile) {
  test::ScratchFolder dir;
  UpdateLog log;
  log.setLevel(1);
  ASSERT_TRUE(log.openIn(dir.path().c_str(), "a.log"));
  logError(log, "to a");
  ASSERT_TRUE(log.openIn(dir.path().c_str(), "b.log"));
  logError(log, "to b");
  EXPECT_EQ(messagesIn(dir.path() / "a.log"), std::vector<std::string>{"to a"});
  EXPECT_EQ(messagesIn(dir.path() / "b.log"), std::vector<std::string>{"to b"});
}

TEST(LogOpen, UnwritableDirectoryRefusesAndLaterLinesGoNowhere) {
  test::ScratchFolder dir;
  // A directory below a regular file cannot exist, whoever we run as.
  test::writeFile(dir.path() / "plain-file", "x");
  const std::string impossible = (dir.path() / "plain-file" / "logs").string();
  UpdateLog log;
  ASSERT_TRUE(log.openIn(dir.path().c_str(), "first.log"));
  log.setLevel(3);
  EXPECT_FALSE(log.openIn(impossible.c_str(), "Orbfix.log"));
  test::StderrCapture debugger;
  logError(log, "nowhere to go");
  EXPECT_EQ(debugger.text(), "");
  // The failed open also closed the earlier file: nothing more reaches it.
  EXPECT_TRUE(readFile(dir.path() / "first.log").empty());
}

TEST(LogOpen, PathThatWouldNotFitIsRefusedAtTheExactLimit) {
  test::ScratchFolder scratch;
  // Grow a real directory so only the length can make the open fail.
  fs::path dir = scratch.path();
  while (dir.string().size() < 200)
    dir /= "d";
  fs::create_directories(dir);
  const std::size_t room = 259 - dir.string().size() - 1; // name length that just fits
  const std::string fits(room, 'f');
  const std::string tooLong(room + 1, 't');
  UpdateLog log;
  ASSERT_TRUE(log.openIn(dir.c_str(), fits.c_str()));
  EXPECT_EQ(std::string(log.logPath()).size(), 259u);
  EXPECT_FALSE(log.openIn(dir.c_str(), tooLong.c_str()));
  EXPECT_STREQ(log.logPath(), "");
  EXPECT_FALSE(fs::exists(dir / tooLong));
  const std::string farTooLong(5000, 'x');
  EXPECT_FALSE(log.openIn(farTooLong.c_str(), "Orbfix.log"));
}

TEST(LogOpen, MissingNamesAreRefused) {
  test::ScratchFolder dir;
  UpdateLog log;
  EXPECT_FALSE(log.openIn(dir.path().c_str(), ""));
  EXPECT_FALSE(log.openIn("", "Orbfix.log"));
  EXPECT_FALSE(log.openIn(nullptr, "Orbfix.log"));
  EXPECT_FALSE(log.open(nullptr));
}

// While it lives, no file of this process may grow past `bytes`: a write there fails with
// EFBIG, as one to a disk that filled up during the run fails with ENOSPC.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
  rlimit saved_{};
  void (*handler_)(int);
};

TEST(LogErrno, SurvivesALogCallWhoseWriteFails) {
  test::ScratchFolder dir;
  constexpr std::size_t kFull = 4096;
  test::writeFile(dir.path() / "Orbfix.log", std::string(kFull, 'x'));
  UpdateLog log;
  ASSERT_TRUE(log.openIn(dir.path().c_str(), "Orbfix.log"));
  log.setLevel(1);
  test::StderrCapture debugger;
  {
    const FileSizeLimit full(kFull);
    errno = ETIMEDOUT;
    logError(log, "the port timed out");
    EXPECT_EQ(errno, ETIMEDOUT);
    errno = EIO;
    log.enter();
    log.info("filtered at this level");
    EXPECT_EQ(errno, EIO);
  }
  log.close();
  EXPECT_EQ(test::readFile(dir.path() / "Orbfix.log").size(), kFull) << "the write did not fail";
  EXPECT_EQ(debugger.text(), "the port timed out\r\n");
}

} // namespace
} // namespace quillon
