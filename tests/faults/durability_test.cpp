// What an update leaves behind when the process dies, when the log cannot be written, and
// what a whole run holds on to afterwards.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tests/faults/wizard_rig.h"

namespace quillon::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kChildWaitMs = 60000;

std::size_t entriesIn(const fs::path& directory) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

// One line from the pipe, or "" when the child said nothing for a minute or closed it.
std::string readLineFrom(int fd) {
  std::string line;
  for (;;) {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, kChildWaitMs) <= 0)
      return {};
    char c = 0;
    if (read(fd, &c, 1) != 1)
      return {};
    if (c == '\n')
      return line;
    line.push_back(c);
  }
}

void tell(int fd, const std::string& line) {
  const std::string text = line + "\n";
  [[maybe_unused]] const auto written = write(fd, text.data(), text.size());
}

// The child: a whole wizard with Descriptive Logging, telling the parent where its log is
// and when the upload is under way. It is killed long before it could finish.
[[noreturn]] void runChild(int fd) {
  {
    WizardRig wizard;
    tell(fd, wizard.logDirectory.string());
    wizard.runner.onPump = [&] {
      if (wizard.runner.lastView->statusLine() == "..Updating Firmware.." &&
          wizard.rig.device->programmedBytes() > 0) {
        tell(fd, "uploading");
        // Held mid-upload until the kill: on a busy machine the parent's kill comes late, and
        // the upload would otherwise have ended and written its closing lines by then.
        for (;;)
          pause();
      }
    };
    wizard.run(true);
  }
  tell(fd, "finished");
  _exit(0);
}

TEST(Durability, AKillDuringTheUploadLeavesEveryLineWrittenBeforeIt) {
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipeFds[0]);
    runChild(pipeFds[1]);
  }
  close(pipeFds[1]);
  const fs::path directory = readLineFrom(pipeFds[0]);
  const std::string said = readLineFrom(pipeFds[0]);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  close(pipeFds[0]);
  ASSERT_FALSE(directory.empty()) << "the child never named its log directory";
  EXPECT_EQ(said, "uploading") << "the child did not reach the upload";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

  std::ifstream file(directory / "Orbfix.log", std::ios::binary);
  const std::string log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::error_code ignored;
  fs::remove_all(directory, ignored);

  ASSERT_FALSE(log.empty());
  EXPECT_TRUE(log.ends_with("\r\n")) << "the last line was cut: " << log.substr(log.size() - 80);
  // The last line written before the loader's first step, the hold on sleep and shutdown;
  // nothing is written while it runs.
  const std::string lastBeforeKill =
      "     Sleep and shutdown held back: Updating the Yardmark's GPS firmware\r\n";
  EXPECT_TRUE(log.ends_with(lastBeforeKill)) << log.substr(log.size() - 200);
  EXPECT_NE(log.find("Step 5: successful"), std::string::npos);
}

TEST(Durability, AnUnwritableLogFolderDoesNotStopTheUpdate) {
  WizardRig wizard;
  // A "folder" that is a plain file: nobody, root included, can create the log in it.
  wizard.rig.capture.writeFile("not-a-folder", "");
  wizard.logDirectory = wizard.rig.capture.directory() / "not-a-folder";
  const RunOutcome outcome = wizard.run(true);
  EXPECT_EQ(outcome.shownSteps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(outcome.noticeCaptions, (std::vector<std::string>{"NOTICE", "NOTICE"}))
      << "the notice that there will be no log, then F9's reminder";
  EXPECT_TRUE(wizard.flashHolds(wizard.rig.firmware));
}

TEST(Durability, AFullDiskForTheLogDoesNotStopTheUpdate) {
  WizardRig wizard;
  wizard.logDirectory = wizard.rig.capture.directory() / "full";
  fs::create_directories(wizard.logDirectory);
  fs::create_symlink("/dev/full", wizard.logDirectory / "Orbfix.log");
  const RunOutcome outcome = wizard.run(true);
  EXPECT_EQ(outcome.shownSteps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(outcome.noticeCaptions, (std::vector<std::string>{"NOTICE", "NOTICE"}));
  EXPECT_TRUE(wizard.flashHolds(wizard.rig.firmware));
}

TEST(Resources, AWholeRunLeavesNoDescriptorAndNoThreadBehind) {
  const std::size_t descriptors = entriesIn("/proc/self/fd");
  const std::size_t threads = entriesIn("/proc/self/task");
  {
    WizardRig wizard;
    const RunOutcome outcome = wizard.run(false);
    ASSERT_TRUE(outcome.reachedFinish());
    EXPECT_GT(entriesIn("/proc/self/task"), threads) << "the Yardmark serves on its own thread";
  }
  EXPECT_EQ(entriesIn("/proc/self/fd"), descriptors);
  EXPECT_EQ(entriesIn("/proc/self/task"), threads);
}

} // namespace
} // namespace quillon::testing
