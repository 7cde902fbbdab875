#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon {

// The firmware file, opened for reading without ever waiting: a FIFO, a terminal or another
// device named as the firmware would otherwise hold the wizard at "Searching for the Firmware
// File" until something wrote to it. Only a regular file is kept open.
class FirmwareFile {
public:
  enum class Opened { Yes, CannotOpen, NotRegularFile };

  FirmwareFile() = default;
  ~FirmwareFile();
  FirmwareFile(const FirmwareFile&) = delete;
  FirmwareFile& operator=(const FirmwareFile&) = delete;

  Opened open(const std::string& path);
  void close();
  // The file's length in bytes when it was opened.
  std::uint64_t length() const { return length_; }
  // Reads up to `room` bytes from byte `offset` of the file. Returns the number read, 0 at the
  // end of the file (or when the file is not open), -1 on a read error.
  std::ptrdiff_t readAt(std::uint64_t offset, void* into, std::size_t room);

private:
  // The platform's descriptor or handle; -1 when closed.
  std::intptr_t native_ = -1;
  std::uint64_t length_ = 0;
};

} // namespace quillon
