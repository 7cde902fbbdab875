#include "gpsload/hex_text.h"
#include "gpsload/uploader.h"

#include <string>

// The record half of the flash loader: building and sending record frames, and what the boot
// loader's answers to them do to the current address and the count of bytes sent.

namespace quillon {

using loader::Reply;

namespace {

constexpr std::size_t kAddressedHeader = loader::kFrameHeaderSize + 4;
// Erased flash reads 0xFF and programming only clears bits: a pad of 0xFF programs nothing,
// neither past the image nor over a byte that the next chunk brings.
constexpr std::uint8_t kPadByte = 0xFF;
// The largest chunk the image hands over (one record past the capacity), padded to even,
// must fit between the largest header and the trailer.
static_assert(kAddressedHeader + Uploader::kChunkCapacity + FirmwareImage::kMaxRecordData +
                      loader::kFrameTrailerSize <=
                  Uploader::kFrameBufferSize,
              "a record frame can outgrow the frame buffer");

} // namespace

std::uint32_t Uploader::imageOffset(std::uint64_t address) const {
  return address <= imageBase_ ? 0 : static_cast<std::uint32_t>(address - imageBase_);
}

bool Uploader::stepSendRecord() {
  const std::size_t headerLength = unaddressed() ? loader::kFrameHeaderSize : kAddressedHeader;
  if (currentAddress_ > endAddress_) {
    recordLength_ = 0;
    if (trace_)
      trace_("SEND REC - Address " + HexText(currentAddress_, 8) + " past end " +
             HexText(endAddress_, 8));
  } else {
    // The image delivers the data at the offset asked for, so a restart or a correction
    // from the boot loader re-sends exactly what it needs and never skips ahead.
    std::uint32_t address = imageOffset(currentAddress_);
    const bool fromImageStart = address == 0;
    recordLength_ = image_.ReadChunk(frame_.data() + headerLength, kChunkCapacity, address);
    currentAddress_ = address;
    if (fromImageStart && recordLength_ > 0)
      imageBase_ = address;
    if (trace_)
      trace_("Read " + std::to_string(recordLength_) + " bytes for address " +
             HexText(currentAddress_, 8));
  }
  if (recordLength_ <= 0) {
    trace("SEND REC - 0 len");
    startTimer();
    state_ = FileDone;
    return true;
  }
  if (recordLength_ % 2 != 0) {
    // Frames carry whole 16-bit words.
    frame_[headerLength + static_cast<std::size_t>(recordLength_)] = kPadByte;
    ++recordLength_;
  }
  if (!unaddressed())
    loader::PutBigEndian32(frame_.data() + loader::kFrameHeaderSize,
                           static_cast<std::uint32_t>(currentAddress_));
  const std::size_t payload =
      headerLength - loader::kFrameHeaderSize + static_cast<std::size_t>(recordLength_);
  frameLength_ = loader::SealFrame(frame_.data(), payload);
  resentOnTimeout_ = false;
  traceRecordFrame("SEND REC - ");
  sendRecordFrame();
  startTimer();
  state_ = WaitRec;
  return false;
}

bool Uploader::stepWaitRecord(int byte) {
  switch (loader::ClassifyReply(byte)) {
  case Reply::Ok:
    trace("WAIT REC - OK");
    debugWord_ = 0;
    debugValue_ = 0;
    debugWordCount_ = 0;
    startTimer();
    state_ = Prog;
    return true;
  case Reply::Resend:
    traceRecordFrame("WAIT REC - ", byte);
    resendRecord();
    return false;
  case Reply::Fail:
    trace("WAIT REC - fail");
    state_ = Fail;
    return false;
  case Reply::Debug:
    trace("WAIT REC - debug");
    savedState_ = WaitRec;
    state_ = Debug1;
    return false;
  case Reply::Hello:
    return startOver("WAIT REC - hello");
  case Reply::Reset:
    trace("WAIT REC - reset");
    currentAddress_ = startAddress_;
    bytesSent_ = 0;
    startTimer();
    state_ = WaitCold;
    return true;
  case Reply::Nothing:
    if (!timedOut(loader::kRecordTimeout))
      return false;
    traceRecordFrame("WAIT REC - timeout resend ");
    resentOnTimeout_ = true;
    resendRecord();
    return false;
  default:
    traceValue("WAIT REC - error ", byte, 4);
    return false;
  }
}

bool Uploader::stepProgram(int byte) {
  switch (loader::ClassifyReply(byte)) {
  case Reply::Ok:
  case Reply::RecWait:
    trace("PROG - OK");
    advancePastRecord();
    if (resentOnTimeout_) {
      // The copy answered may be either: a boot loader that read the first one late can
      // still answer the other. Sent now, the next frame would reach a boot loader busy
      // programming that copy, which drops it, while its answers passed for the next
      // frame's: a record missing from the flash that nothing would notice.
      trace("SETTLE - waiting for answers to the other copy");
      settleAwaitsProgramming_ = false;
      startTimer();
      state_ = Settle;
      return false;
    }
    state_ = SendRec;
    return true;
  case Reply::Resend:
    traceRecordFrame("WAIT REC - ", byte);
    resendRecord();
    return false;
  case Reply::Fail:
    trace("PROG - fail");
    state_ = Fail;
    return false;
  case Reply::Hello:
    return startOver("PROG - hello");
  case Reply::Debug:
    trace("PROG - debug");
    savedState_ = Prog;
    state_ = Debug1;
    return false;
  case Reply::Nothing:
    break;
  default:
    traceValue("PROG - error ", byte, 4);
    break;
  }
  // The boot loader took the frame but its word on the programming was lost. The same frame
  // again is safe when it carries its address: a boot loader that programmed it already
  // programs the same bytes at the same place, and answers it as any record. Without an
  // address a second copy would land after the first, so the transfer starts over instead.
  if (!timedOut(loader::kBusyTimeout))
    return false;
  if (unaddressed()) {
    trace("PROG - timeout");
    state_ = Fail;
    return false;
  }
  traceRecordFrame("PROG - timeout resend ");
  resentOnTimeout_ = true;
  resendRecord();
  return false;
}

bool Uploader::stepSettle(int byte) {
  switch (loader::ClassifyReply(byte)) {
  case Reply::Nothing:
    // Quiet for as long as a frame's answer may take, or, once the other copy was taken, as
    // long as its programming may: the next frame goes to a boot loader waiting for it.
    if (!timedOut(settleAwaitsProgramming_ ? loader::kBusyTimeout : loader::kRecordTimeout))
      return false;
    trace("SETTLE - quiet");
    state_ = SendRec;
    return true;
  case Reply::Hello:
  case Reply::Fail:
  case Reply::Reset:
    // The boot loader failed or started again on the other copy: as on any record.
    return stepWaitRecord(byte);
  case Reply::Debug:
    trace("SETTLE - debug");
    savedState_ = Settle;
    state_ = Debug1;
    return false;
  case Reply::Ok:
    settleAwaitsProgramming_ = true;
    break;
  default: // its programming done, or a resend asked for a record already programmed
    settleAwaitsProgramming_ = false;
    break;
  }
  traceValue("SETTLE - answer to the other copy ", byte, 4);
  startTimer();
  return false;
}

void Uploader::advancePastRecord() {
  // Two debug words before the acknowledgement echo the address the boot loader programmed.
  // When it lies behind ours, go back and send again from one chunk past it, but never
  // further ahead than the ordinary advance: that would leave unsent data out of the flash.
  if (debugWordCount_ == 2 && debugValue_ != 0) {
    if (trace_)
      trace_("Got " + HexText(debugValue_, 8) + " back");
    const std::uint64_t correctedNext = std::uint64_t{debugValue_} + kChunkCapacity;
    const std::uint64_t ordinaryNext = currentAddress_ + static_cast<std::uint64_t>(recordLength_);
    if (!unaddressed() && currentAddress_ > debugValue_ && correctedNext <= ordinaryNext) {
      trace("Handshake error - resending");
      currentAddress_ = debugValue_;
      bytesSent_ -= static_cast<std::uint32_t>(kChunkCapacity);
      recordLength_ = static_cast<std::int16_t>(kChunkCapacity);
    }
  }
  currentAddress_ += static_cast<std::uint64_t>(recordLength_);
  bytesSent_ += static_cast<std::uint32_t>(recordLength_);
}

void Uploader::sendRecordFrame() {
  sendFrame(frame_.data(), frameLength_);
  ++recordFramesSent_;
}

void Uploader::resendRecord() {
  sendRecordFrame();
  startTimer();
  state_ = WaitRec;
}

} // namespace quillon
