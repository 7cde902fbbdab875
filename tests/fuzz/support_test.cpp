// The fuzzers' plumbing: scratch files hold exactly what was written, and standard error is
// caught while a capture lives and given back after it.

#include "fuzz/scratch_dir.h"
#include "testsupport/stderr_capture.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::fuzz {
namespace {

TEST(ScratchFiles, HoldExactlyWhatWasWrittenLast) {
  const std::uint8_t first[] = {'S', '0', 0x00, '\r', '\n', 0xFF};
  const auto path = writeScratchFile("probe.bin", first, sizeof first);
  EXPECT_EQ(path.parent_path(), scratchDirectory());
  EXPECT_EQ(readWholeFile(path), std::string(reinterpret_cast<const char*>(first), sizeof first));
  const std::uint8_t second[] = {'x'};
  writeScratchFile("probe.bin", second, sizeof second);
  EXPECT_EQ(readWholeFile(path), "x") << "a shorter input must not keep the old tail";
  EXPECT_EQ(readWholeFile(scratchDirectory() / "absent"), "");
}

ino_t stderrFile() {
  struct stat status {};
  EXPECT_EQ(::fstat(STDERR_FILENO, &status), 0);
  return status.st_ino;
}

TEST(StderrCapture, CatchesWritesAndGivesTheDescriptorBack) {
  const ino_t before = stderrFile();
  {
    test::StderrCapture capture;
    EXPECT_NE(stderrFile(), before);
    std::fputs("Log initiated\r\n", stderr);
    ASSERT_EQ(::write(STDERR_FILENO, "raw", 3), 3);
    EXPECT_EQ(capture.text(), "Log initiated\r\nraw");
    std::fputs("!", stderr);
    EXPECT_EQ(capture.text(), "Log initiated\r\nraw!");
  }
  EXPECT_EQ(stderrFile(), before) << "standard error was not given back";
  test::StderrCapture fresh;
  EXPECT_EQ(fresh.text(), "");
}

} // namespace
} // namespace quillon::fuzz
