#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

// What opening a firmware file found.
enum class ImageCheck {
  Usable,         // S-records that describe an image that may be flashed
  CannotOpen,     // the file is not there, or not ours to read
  NotRegularFile, // a folder, a FIFO or a device: opened without waiting, and let go
  NotSRecords,    // the file does not begin "S0"; it is read as it lies
  Damaged,        // it begins "S0" but fails the check or a read; refusal() says where
};

// The firmware image: a Motorola S-record file read as chunks of contiguous data bytes, each
// with the load address of its first byte, in ascending address order. The whole file is
// validated when it is opened, so a damaged, cut-short or ambiguous file is refused before any
// device is touched; a wrong byte here ends up in the GPS chip's flash.
class FirmwareImage {
public:
  // Capacity the flash loader asks for, and the most one chunk may exceed it by (one record).
  static constexpr int kLoaderCapacity = 1980;
  static constexpr int kMaxRecordData = 250;

  explicit FirmwareImage(const std::string& path);
  ~FirmwareImage();
  FirmwareImage(const FirmwareImage&) = delete;
  FirmwareImage& operator=(const FirmwareImage&) = delete;

  // What was found when the file was opened.
  ImageCheck check() const { return check_; }
  // False only when the file could not be opened at all (a FIFO or a device is opened without
  // waiting and then refused as not a regular file).
  bool opened() const { return check_ != ImageCheck::CannotOpen; }
  // True when the image may be flashed (ImageCheck::Usable).
  bool isSRecord() const { return check_ == ImageCheck::Usable; }
  // File length for a non-S-record file; for an S-record file the estimate length x 0.36168.
  std::int32_t size() const { return size_; }
  // Why the file is not usable, for the log and the firmware check tool, made here alone:
  // "cannot open", "not a regular file", "not an S-record file", or for damaged S-records the
  // place and the damage loadSRecordImage reports ("line 40: checksum", "line 3: not a
  // record", "no count or end record after line 250: the file may be cut short", ...). Empty
  // when the image is usable.
  std::string refusal() const;
  // The record frames one pass over the image takes: the chunks read front to back at the
  // loader's capacity. 0 for an image that is not usable.
  std::size_t frameCount() const { return frameCount_; }

  // Writes up to one chunk (capacity bytes, exceeded by at most one record) into `buffer`,
  // which must hold capacity + kMaxRecordData bytes. `address` is, on entry, the offset into
  // the image (counted from the address of its first data record) at which the caller wants
  // data; reading forward from where the last chunk ended needs no repositioning, a smaller
  // offset rewinds. On return it holds the load address of the first byte returned. Returns
  // the number of bytes written; 0 when the image holds no more data. A file that is not
  // S-records is read as it lies: `capacity` bytes from byte `address` of the file, the
  // address left as it was. A file that begins like S-records but failed the check yields 0.
  std::int16_t ReadChunk(std::uint8_t* buffer, int capacity, std::uint32_t& address);

private:
  // Implementation state is the implementer's; see firmware_image.cpp.
  struct State;
  std::unique_ptr<State> state_;
  ImageCheck check_ = ImageCheck::CannotOpen;
  std::int32_t size_ = 0;
  std::size_t frameCount_ = 0;
  // Where and how damaged S-records are damaged.
  std::string damage_;
};

} // namespace quillon
