#include "base/utf16.h"
#include "gpsload/firmware_file.h"

#include <windows.h>

namespace quillon {
namespace {

HANDLE handleOf(std::intptr_t native) {
  return reinterpret_cast<HANDLE>(native);
}

} // namespace

FirmwareFile::~FirmwareFile() {
  close();
}

FirmwareFile::Opened FirmwareFile::open(const std::string& path) {
  close();
  // Opening a pipe or a device does not wait here; what is not a file on disk is let go at
  // once. A directory cannot be opened this way at all.
  // The path is UTF-8 (Orbfix.dat's line 3): Windows takes it as UTF-16, whatever its code page.
  const HANDLE handle =
      CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return Opened::CannotOpen;
  LARGE_INTEGER size{};
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return Opened::NotRegularFile;
  }
  if (!GetFileSizeEx(handle, &size) || size.QuadPart < 0) {
    CloseHandle(handle);
    return Opened::CannotOpen;
  }
  native_ = reinterpret_cast<std::intptr_t>(handle);
  length_ = static_cast<std::uint64_t>(size.QuadPart);
  return Opened::Yes;
}

void FirmwareFile::close() {
  if (native_ != -1)
    CloseHandle(handleOf(native_));
  native_ = -1;
  length_ = 0;
}

std::ptrdiff_t FirmwareFile::readAt(std::uint64_t offset, void* into, std::size_t room) {
  if (native_ == -1)
    return 0;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFU);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const DWORD ask = room > 0x40000000U ? 0x40000000U : static_cast<DWORD>(room);
  DWORD got = 0;
  if (!ReadFile(handleOf(native_), into, ask, &got, &at))
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  return static_cast<std::ptrdiff_t>(got);
}

} // namespace quillon
