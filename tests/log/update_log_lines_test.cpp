// What lands in the log file and on the debugger copy for each kind, level and message.
#include "log/update_log.h"
#include "tests/log/log_test_support.h"

#include <chrono>
#include <ctime>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <thread>

namespace quillon {
namespace {

constexpr char kLogModule[] = "update_log_lines_test.cpp";

using test::splitTabs;

std::string localNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// The program's own log object, opened on a scratch file and reset after each test.
class LogLines : public ::testing::Test {
protected:
  void SetUp() override { reopen("Orbfix.log"); }
  void TearDown() override {
    updateLog().close();
    updateLog().setLevel(0);
  }
  void reopen(const std::string& name) {
    file_ = scratch_.path() / name;
    ASSERT_TRUE(updateLog().openIn(scratch_.path().c_str(), name.c_str()));
  }
  // Read while the log is still open: every line must already be in the file.
  std::vector<std::vector<std::string>> lines() const {
    std::vector<std::vector<std::string>> fields;
    for (const std::string& line : test::splitCrLfLines(test::readFile(file_)))
      fields.push_back(splitTabs(line));
    return fields;
  }

  test::ScratchFolder scratch_;
  std::filesystem::path file_;
};

TEST_F(LogLines, EachLevelWritesItsKindsInItsFormat) {
  struct Case {
    int level;
    std::vector<std::string> kinds;
    std::size_t fieldCount;
  };
  const Case cases[] = {{0, {}, 0},
                        {1, {"Error"}, 3},
                        {2, {"Info", "Error"}, 3},
                        {3, {"DevInfo", "Info", "Error"}, 4}};
  for (const Case& c : cases) {
    reopen("level" + std::to_string(c.level) + ".log");
    updateLog().setLevel(c.level);
    QLOG_DEVINFO("read %d bytes", 39);
    QLOG_INFO("     User has verified the screen match");
    QLOG_ERROR("Port %d: %s", 3, "KV7NORESPONSE: KV7 did not respond");
    const auto written = lines();
    ASSERT_EQ(written.size(), c.kinds.size()) << "level " << c.level;
    for (std::size_t i = 0; i < written.size(); ++i) {
      ASSERT_EQ(written[i].size(), c.fieldCount) << "level " << c.level;
      EXPECT_TRUE(std::regex_match(written[i][0], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
      EXPECT_EQ(written[i][1], c.kinds[i]) << "level " << c.level;
    }
    if (!written.empty()) {
      EXPECT_EQ(written.back().back(), "Port 3: KV7NORESPONSE: KV7 did not respond");
    }
  }
}

TEST_F(LogLines, DescriptiveLinesNameModuleAndLineAndKeepIndents) {
  updateLog().setLevel(3);
  const int firstLine = __LINE__ + 1;
  QLOG_INFO("    Discriptive Logging has been Turned ON.");
  QLOG_DEVINFO("read %d bytes", 39);
  const auto written = lines();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0][2], "update_log_lines_test.cpp, " + std::to_string(firstLine));
  EXPECT_EQ(written[0][3], "    Discriptive Logging has been Turned ON.");
  EXPECT_EQ(written[1][2], "update_log_lines_test.cpp, " + std::to_string(firstLine + 1));
  EXPECT_EQ(written[1][3], "read 39 bytes");
}

TEST_F(LogLines, DebuggerGetsTheMessageOfWrittenLinesOnly) {
  updateLog().setLevel(1);
  test::StderrCapture debugger;
  QLOG_INFO("not at this level");
  QLOG_ERROR("E:%d", 4);
  updateLog().close();
  QLOG_ERROR("after close");
  EXPECT_EQ(debugger.text(), "E:4\r\n");
}

TEST_F(LogLines, TimestampIsTheLocalTimeOfTheWrite) {
  updateLog().setLevel(1);
  const std::string before = localNow();
  QLOG_ERROR("now");
  const std::string after = localNow();
  const auto written = lines();
  ASSERT_EQ(written.size(), 1u);
  // Same fixed-width layout, so text order is time order.
  EXPECT_LE(before, written[0][0]);
  EXPECT_LE(written[0][0], after);
}

TEST_F(LogLines, LineBreaksInsideAMessageBecomeBars) {
  updateLog().setLevel(1);
  test::StderrCapture debugger;
  QLOG_ERROR("%s", "reply was\r\nOK");
  QLOG_ERROR("%s", "lone\rCR and lone\nLF");
  EXPECT_EQ(debugger.text(), "reply was||OK\r\nlone|CR and lone|LF\r\n");
  const auto written = lines();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0][2], "reply was||OK");
  EXPECT_EQ(written[1][2], "lone|CR and lone|LF");
}

TEST_F(LogLines, MessagesAreCutAt1024Characters) {
  updateLog().setLevel(1);
  const std::string exact(1024, 'a');
  const std::string longer = std::string(1024, 'b') + "tail that must not appear";
  QLOG_ERROR("%s", exact.c_str());
  QLOG_ERROR("%s", longer.c_str());
  const auto written = lines();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0][2], exact);
  EXPECT_EQ(written[1][2], std::string(1024, 'b'));
}

TEST_F(LogLines, SourceKeepsTheFileNameOfAnyPathStyle) {
  updateLog().setLevel(3);
  const std::string veryLong(400, 'n');
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\work\\pages\\Step3Update.cpp", "Step3Update.cpp"},
      {"/work/main/link/device_link.cpp", "device_link.cpp"},
      {"pages/win\\Step5Verify.cpp", "Step5Verify.cpp"},
      {"QuillonDlg.cpp", "QuillonDlg.cpp"},
      {"/deep/" + veryLong, veryLong.substr(0, 259)},
  };
  for (const auto& [path, expected] : cases) {
    UpdateLog& log = updateLog();
    log.enter();
    log.sourceLine = 42;
    log.setSource(path.c_str());
    log.info("m");
  }
  const auto written = lines();
  ASSERT_EQ(written.size(), std::size(cases));
  for (std::size_t i = 0; i < written.size(); ++i)
    EXPECT_EQ(written[i][2], cases[i].second + ", 42");
}

TEST_F(LogLines, FilteredCallsStillLeaveTheLock) {
  updateLog().setLevel(1);
  QLOG_DEVINFO("filtered");
  QLOG_INFO("filtered");
  // A lock still held would block this thread for ever; give it a generous bound.
  auto logged = std::make_shared<std::promise<void>>();
  std::future<void> done = logged->get_future();
  std::thread other([logged] {
    QLOG_ERROR("from another thread");
    logged->set_value();
  });
  if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    other.detach();
    FAIL() << "the log's lock was not left";
  }
  other.join();
  EXPECT_EQ(lines().size(), 1u);
}

TEST(LogLevel, StaysWithinZeroToThree) {
  UpdateLog log;
  EXPECT_EQ(log.level(), 0);
  log.setLevel(9);
  EXPECT_EQ(log.level(), 3);
  log.setLevel(-4);
  EXPECT_EQ(log.level(), 0);
}

} // namespace
} // namespace quillon
