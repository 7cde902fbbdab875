#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

// The firmware image: a Motorola S-record file read as chunks of contiguous data bytes, each
// with the load address of its first byte. The whole file is validated when it is opened, so
// a damaged file is refused before any device is touched; a wrong byte here ends up in the
// GPS chip's flash.
class BinFile {
public:
  // Capacity the flash loader asks for, and the most one chunk may exceed it by (one record).
  static constexpr int kLoaderCapacity = 1980;
  static constexpr int kMaxRecordData = 250;

  explicit BinFile(const std::string& path);
  ~BinFile();
  BinFile(const BinFile&) = delete;
  BinFile& operator=(const BinFile&) = delete;

  // 1 when the file could be opened, 0 otherwise.
  int binFileOk() const { return binFileOk_; }
  // True when the file begins "S0" and every data record in it is well formed.
  bool isSRecord() const { return sRecord_; }
  // File length for a non-S-record file; for an S-record file the estimate length x 0.36168.
  std::int32_t size() const { return size_; }
  // Why the file is not usable: "cannot open", "not an S-record file", "cannot read", or the
  // line and what is wrong with it ("line 40: checksum", "line 2: byte count",
  // "line 2: bad hex", "line 7: too long", "line 9: address range" for data past
  // 0xFFFFFFFF). Empty when the file is usable.
  const std::string& refusal() const { return refusal_; }

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
  std::string refusal_;
};

} // namespace quillon
