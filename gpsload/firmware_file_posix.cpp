#include "gpsload/firmware_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

FirmwareFile::~FirmwareFile() {
  close();
}

FirmwareFile::Opened FirmwareFile::open(const std::string& path) {
  close();
  // O_NONBLOCK: opening a FIFO for reading otherwise waits for a writer, and a serial device
  // for its carrier. A regular file is read the same with or without it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0)
    return Opened::CannotOpen;
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    ::close(fd);
    return Opened::CannotOpen;
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(fd);
    return Opened::NotRegularFile;
  }
  native_ = fd;
  length_ = static_cast<std::uint64_t>(status.st_size);
  return Opened::Yes;
}

void FirmwareFile::close() {
  if (native_ >= 0)
    ::close(static_cast<int>(native_));
  native_ = -1;
  length_ = 0;
}

std::ptrdiff_t FirmwareFile::readAt(std::uint64_t offset, void* into, std::size_t room) {
  if (native_ < 0)
    return 0;
  for (;;) {
    const ssize_t got = ::pread(static_cast<int>(native_), into, room, static_cast<off_t>(offset));
    if (got >= 0)
      return got;
    if (errno != EINTR)
      return -1;
  }
}

} // namespace quillon
