#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "gpsload/bin_file.h"
#include "gpsload/loader_link.h"
#include "link/clock.h"

namespace quillon {

// Receives one trace text per transition when attached (the wizard attaches none).
using UploaderTrace = std::function<void(std::string_view text)>;

// The flash loader: a state machine that its owner steps, talking to the GPS chip's boot
// loader through single-byte replies and framed, checksummed records. It has no failure exit:
// every error leads to a resend, a restart or a further wait, and its owner sees only the
// state, the count of bytes sent, and when the boot loader last said anything.
class Uploader {
public:
  enum State : int {
    Inactive = 0,
    Reset = 1,
    NoConnect = 2,
    Hand = 3,
    EraseCmd = 4,
    BadType = 5,
    EraseAdr = 6,
    Erasing = 7,
    WaitCold = 8,
    SendRec = 9,
    WaitRec = 10,
    Prog = 11,
    Fail = 12,
    FileDone = 13,
    SendEnd = 14,
    AllDone = 15,
    Unused = 16,
    Debug1 = 17,
    Debug2 = 18,
  };

  static constexpr int kChunkCapacity = BinFile::kLoaderCapacity;
  // 7 header bytes, a chunk of up to 1979 + 250 bytes and a pad byte, 3 trailer bytes.
  static constexpr std::size_t kFrameBufferSize = 2240;

  Uploader(BinFile& image, LoaderLink& link, bool unaddressed, std::uint32_t startAddress,
           std::uint32_t endAddress, Clock& clock);

  // One step; true when the owner should step again at once, false when it may repaint first.
  bool Step();
  // Sends the end frame; called once when Step returned false in FILE DONE.
  void Finish();

  int state() const { return state_; }
  std::uint32_t bytesSent() const { return bytesSent_; }
  // Whole-second clock value at which the boot loader last sent a byte (creation time until
  // it has sent one): owners use it to give up on a boot loader that went silent for good.
  std::int64_t lastReplySecond() const { return lastReplySecond_; }
  void setTrace(UploaderTrace trace) { trace_ = std::move(trace); }

private:
  // Implementer's: see uploader.cpp.
  int state_ = Inactive;
  std::uint32_t bytesSent_ = 0;
  std::int64_t lastReplySecond_ = 0;
  UploaderTrace trace_;
  BinFile& image_;
  LoaderLink& link_;
  Clock& clock_;
  bool unaddressed_;
  std::uint32_t startAddress_;
  std::uint32_t endAddress_;
};

} // namespace quillon
