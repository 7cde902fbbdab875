#pragma once

#include "base/clock.h"
#include "base/loader_link.h"
#include "gpsload/firmware_image.h"
#include "gpsload/loader_frame.h"
#include "gpsload/loader_protocol.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

namespace quillon {

// Whether the boot loader is told where the data goes. The wizard always tells it.
enum class LoadAddressing {
  Addressed,   // the erase names its address range, and every record frame its load address
  Unaddressed, // neither: the boot loader places the frames one after another, so a frame it
               // may have programmed already is never sent again; the load starts over instead
};

// Receives one trace line per call, without its line feed, when attached (the wizard attaches
// none, and the loader prints nothing otherwise).
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
    // After a record frame that went out again on a time-out: the boot loader may yet answer
    // the other copy, and those answers must not be taken for the next frame's.
    Settle = 19,
  };

  static constexpr int kChunkCapacity = FirmwareImage::kLoaderCapacity;
  // 7 header bytes, a chunk of up to 1979 + 250 bytes and a pad byte, 3 trailer bytes.
  static constexpr std::size_t kFrameBufferSize = 2240;

  Uploader(FirmwareImage& image, LoaderLink& link, LoadAddressing addressing,
           std::uint32_t startAddress, std::uint32_t endAddress, Clock& clock);

  // One step; true when the owner should step again at once, false when it may repaint first.
  bool Step();
  // Sends the end frame; called once when Step returned false in FILE DONE.
  void Finish();

  int state() const { return state_; }
  std::uint32_t bytesSent() const { return bytesSent_; }
  // Record frames sent so far, resends included: owners hold it against the image's own
  // frame count to give up on an upload that goes round and round.
  std::uint64_t recordFramesSent() const { return recordFramesSent_; }
  // End frames sent so far: owners give up on a boot loader that never takes it.
  std::uint64_t endFramesSent() const { return endFramesSent_; }
  const FirmwareImage& image() const { return image_; }
  // Whole-second clock value at which the boot loader last sent a byte (creation time until
  // it has sent one): owners use it to give up on a boot loader that went silent for good.
  std::int64_t lastReplySecond() const { return lastReplySecond_; }
  void setTrace(UploaderTrace trace) { trace_ = std::move(trace); }

private:
  bool unaddressed() const { return addressing_ == LoadAddressing::Unaddressed; }
  // One byte from the boot loader: 0..255, or loader::kNoByte when none came.
  int readReply();
  bool stepNoConnect(int byte);
  bool stepHand(int byte);
  bool stepEraseCommand(int byte);
  bool stepEraseAddress(int byte);
  bool stepErasing(int byte);
  bool stepWaitCold(int byte);
  bool stepSendRecord();
  bool stepWaitRecord(int byte);
  bool stepProgram(int byte);
  bool stepSendEnd(int byte);
  bool stepSettle(int byte);
  bool stepDebugHigh(int byte);
  bool stepDebugLow(int byte);
  // A hello while the erase or the records are under way: the boot loader has started over.
  bool startOver(std::string_view traceText);
  // The handshake is done: ask for the erase.
  bool askForErase();
  // A debug word that stops halfway: back to the wait it interrupted once that wait is over.
  bool debugTimedOut();

  // The image offset of an address: its distance from the image's first data address, 0 for
  // anything at or before it.
  std::uint32_t imageOffset(std::uint64_t address) const;
  // After PROG's acknowledgement: moves back to the address the boot loader reported when it
  // disagrees with ours, then advances past the record.
  void advancePastRecord();
  void sendRecordFrame();
  // Resends the record frame, starts the timer and waits in WAIT REC.
  void resendRecord();
  void sendFrame(const std::uint8_t* frame, std::size_t length);
  void sendEndFrame();
  void sendByte(loader::Command command);
  // Answers the boot loader's hello and waits for its OK.
  void answerHello();
  void startTimer();
  bool timedOut(std::chrono::milliseconds timeout);

  void trace(std::string_view text) const;
  void traceValue(std::string_view prefix, int value, int digits) const;
  void traceRange(std::string_view prefix) const;
  // The record frame as a byte dump, after the prefix and, for a resend request, its byte.
  void traceRecordFrame(std::string_view prefix, int resendByte = loader::kNoByte) const;

  FirmwareImage& image_;
  LoaderLink& link_;
  Clock& clock_;
  LoadAddressing addressing_;
  std::uint32_t startAddress_;
  std::uint32_t endAddress_;
  std::array<std::uint8_t, loader::kEraseFrameSize> eraseFrame_{};

  int state_ = Inactive;
  int savedState_ = Inactive;
  std::uint32_t bytesSent_ = 0;
  std::uint64_t recordFramesSent_ = 0;
  std::uint64_t endFramesSent_ = 0;
  // Wider than an address: after a record that ends at the top of the address space the next
  // address lies past any end address, instead of wrapping round to the start of the image.
  std::uint64_t currentAddress_ = 0;
  // The load address of the image's first byte, as its first read reported it.
  std::uint32_t imageBase_ = 0;
  std::int16_t recordLength_ = 0;
  std::array<std::uint8_t, kFrameBufferSize> frame_{};
  std::size_t frameLength_ = 0;
  std::int64_t timerSecond_ = 0;
  std::int64_t lastReplySecond_ = 0;
  int noConnectCount_ = 0;
  std::uint16_t debugWord_ = 0;
  std::uint32_t debugValue_ = 0;
  int debugWordCount_ = 0;
  // The record in hand went out again because its answer was late: another copy may be
  // answered after this one.
  bool resentOnTimeout_ = false;
  // In SETTLE: the other copy was taken, and the word on its programming is still to come.
  bool settleAwaitsProgramming_ = false;
  UploaderTrace trace_;
};

} // namespace quillon
