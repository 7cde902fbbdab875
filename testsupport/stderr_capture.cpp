#include "testsupport/stderr_capture.h"

#include "testsupport/scratch_folder.h"

#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace quillon::test {

StderrCapture::StderrCapture() {
  std::fflush(stderr);
  const std::string name = processScratchFolder().path("stderr").string();
  capture_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
  if (capture_ < 0)
    throw std::runtime_error("cannot make a file for standard error");
  ::unlink(name.c_str());
  saved_ = ::dup(STDERR_FILENO);
  if (saved_ < 0 || ::dup2(capture_, STDERR_FILENO) < 0) {
    ::close(capture_);
    if (saved_ >= 0)
      ::close(saved_);
    throw std::runtime_error("cannot redirect standard error");
  }
}

StderrCapture::~StderrCapture() {
  std::fflush(stderr);
  ::dup2(saved_, STDERR_FILENO);
  ::close(saved_);
  ::close(capture_);
}

std::string StderrCapture::text() {
  std::fflush(stderr);
  std::string all;
  char block[4096];
  for (off_t at = 0;;) {
    const ssize_t got = ::pread(capture_, block, sizeof block, at);
    if (got <= 0)
      break;
    all.append(block, static_cast<std::size_t>(got));
    at += got;
  }
  return all;
}

} // namespace quillon::test
