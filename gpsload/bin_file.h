#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

// The firmware image: a Motorola S-record file read as chunks of contiguous data bytes, each
// with the load address of its first byte, in ascending address order. The whole file is
// validated when it is opened, so a damaged, cut-short or ambiguous file is refused before any
// device is touched; a wrong byte here ends up in the GPS chip's flash.
class BinFile {
public:
  // Capacity the flash loader asks for, and the most one chunk may exceed it by (one record).
  static constexpr int kLoaderCapacity = 1980;
  static constexpr int kMaxRecordData = 250;

  explicit BinFile(const std::string& path);
  ~BinFile();
  BinFile(const BinFile&) = delete;
  BinFile& operator=(const BinFile&) = delete;

  // 1 when the file could be opened (a FIFO or a device is opened without waiting and then
  // refused as "not a regular file"), 0 otherwise.
  int binFileOk() const { return binFileOk_; }
  // True when the file begins "S0" and describes an image that may be flashed: every line a
  // well-formed record (or blank), counts that agree, a count or end record after the data,
  // and one value for every address.
  bool isSRecord() const { return sRecord_; }
  // File length for a non-S-record file; for an S-record file the estimate length x 0.36168.
  std::int32_t size() const { return size_; }
  // Why the file is not usable: "cannot open", "not a regular file", "not an S-record file",
  // or one of the reasons loadSRecordImage gives ("line 40: checksum", "line 3: not a record",
  // "no count or end record after line 250: the file may be cut short", ...). Empty when the
  // file is usable.
  const std::string& refusal() const { return refusal_; }
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
  // Implementation state is the implementer's; see bin_file.cpp.
  struct State;
  std::unique_ptr<State> state_;
  int binFileOk_ = 0;
  bool sRecord_ = false;
  std::int32_t size_ = 0;
  std::size_t frameCount_ = 0;
  std::string refusal_;
};

} // namespace quillon
