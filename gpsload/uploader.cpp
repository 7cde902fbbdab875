#include "gpsload/uploader.h"

#include "gpsload/hex_text.h"

namespace quillon {

using loader::Command;
using loader::Reply;

Uploader::Uploader(FirmwareImage& image, LoaderLink& link, LoadAddressing addressing,
                   std::uint32_t startAddress, std::uint32_t endAddress, Clock& clock)
    : image_(image), link_(link), clock_(clock), addressing_(addressing),
      startAddress_(startAddress),
      // An end of 0 asks for the image's own extent; the image size is an estimate, never
      // negative for a file that opened.
      endAddress_(endAddress != 0 ? endAddress
                                  : startAddress + static_cast<std::uint32_t>(
                                                       image.size() > 0 ? image.size() : 0)),
      currentAddress_(startAddress), imageBase_(startAddress) {
  state_ = link_.IsPortFound() ? Reset : Inactive;
  eraseFrame_ = loader::MakeEraseFrame(startAddress_, endAddress_);
  timerSecond_ = clock_.wholeSeconds();
  lastReplySecond_ = timerSecond_;
}

bool Uploader::Step() {
  switch (state_) {
  case Reset:
    trace("RESET");
    bytesSent_ = 0;
    currentAddress_ = startAddress_;
    state_ = NoConnect;
    return true;
  case NoConnect:
    return stepNoConnect(readReply());
  case Hand:
    return stepHand(readReply());
  case EraseCmd:
    return stepEraseCommand(readReply());
  case EraseAdr:
    return stepEraseAddress(readReply());
  case Erasing:
    return stepErasing(readReply());
  case WaitCold:
    return stepWaitCold(readReply());
  case SendRec:
    return stepSendRecord();
  case WaitRec:
    return stepWaitRecord(readReply());
  case Prog:
    return stepProgram(readReply());
  case Fail:
    state_ = Reset;
    return false;
  case FileDone:
    trace("FILE DONE");
    return false;
  case SendEnd:
    return stepSendEnd(readReply());
  case AllDone:
    trace("ALL DONE");
    state_ = Reset;
    return false;
  case Debug1:
    return stepDebugHigh(readReply());
  case Debug2:
    return stepDebugLow(readReply());
  case Settle:
    return stepSettle(readReply());
  default: // inactive, bad type and the unused state stay where they are
    return false;
  }
}

void Uploader::Finish() {
  // The end frame tells the boot loader the image is complete: sent any earlier it would end
  // a half-written flash, so only FILE DONE may send it.
  if (state_ != FileDone)
    return;
  sendEndFrame();
  state_ = SendEnd;
}

int Uploader::readReply() {
  int byte = loader::kNoByte;
  link_.ReadByte(byte);
  if (byte < 0 || byte > 0xFF)
    return loader::kNoByte;
  lastReplySecond_ = clock_.wholeSeconds();
  return byte;
}

bool Uploader::stepNoConnect(int byte) {
  switch (loader::ClassifyReply(byte)) {
  case Reply::Hello:
    trace("NO CONNECT - hello");
    link_.PurgeReceive();
    answerHello();
    state_ = Hand;
    return true;
  case Reply::RecWait:
    trace("NO CONNECT - rec_wait");
    state_ = SendRec;
    return true;
  default:
    traceValue("NO CONNECT - other ", byte, 2);
    if (++noConnectCount_ >= loader::kNoConnectPurgeEvery) {
      noConnectCount_ = 0;
      link_.PurgeReceive();
    }
    return false;
  }
}

bool Uploader::stepHand(int byte) {
  switch (loader::ClassifyReply(byte)) {
  case Reply::Ok:
    trace("HAND - OK");
    return askForErase();
  case Reply::Hello:
    // Not purged first: the OK to our earlier answer may already be queued behind it.
    trace("HAND - hello");
    answerHello();
    return false;
  case Reply::BadType:
    trace("HAND - Bad type");
    state_ = BadType;
    return false;
  case Reply::Nothing:
    break;
  default:
    traceValue("HAND - error ", byte, 4);
    break;
  }
  // A boot loader that heard our answer says no more hellos; one whose OK was lost waits for
  // the erase command and answers that. Nothing is erased yet: the erase frame goes out only
  // after that answer.
  if (!timedOut(loader::kHandshakeTimeout))
    return false;
  trace("HAND - timeout");
  return askForErase();
}

bool Uploader::askForErase() {
  link_.PurgeReceive();
  sendByte(Command::Erase);
  startTimer();
  state_ = unaddressed() ? SendRec : EraseCmd;
  return true;
}

bool Uploader::stepEraseCommand(int byte) {
  switch (loader::ClassifyReply(byte)) {
  case Reply::Ok:
    traceRange("ERASE CMD - Erasing ");
    sendFrame(eraseFrame_.data(), eraseFrame_.size());
    startTimer();
    state_ = EraseAdr;
    return true;
  case Reply::Hello:
    trace("ERASE CMD - hello");
    answerHello();
    state_ = Hand;
    return true;
  case Reply::BadCommand:
    trace("ERASE CMD - bad cmd");
    state_ = NoConnect;
    return false;
  default: // garbage counts towards the time-out just as silence does
    if (!timedOut(loader::kEraseCommandTimeout))
      return false;
    trace("ERASE CMD - timeout");
    link_.PurgeReceive();
    sendByte(Command::Erase);
    startTimer();
    return true;
  }
}

bool Uploader::stepEraseAddress(int byte) {
  switch (loader::ClassifyReply(byte)) {
  case Reply::Ok:
    trace("ERASE ADR - OK");
    startTimer();
    state_ = Erasing;
    return true;
  case Reply::SectorErased:
    trace("ERASING - sector erased");
    startTimer();
    state_ = Erasing;
    return false;
  case Reply::Hello:
    // The boot loader says hello only once it is back at its start, as it is after refusing
    // the erase frame. Its bad command may be lost on the line; unanswered, the loader would
    // wait for our handshake and we for its erase, for ever. Answer it as in ERASE CMD.
    trace("ERASE ADR - hello");
    answerHello();
    state_ = Hand;
    return true;
  case Reply::BadCommand:
    trace("ERASE ADR - bad");
    state_ = NoConnect;
    return false;
  case Reply::Resend:
    traceRange("SENDING ERASE - Erasing ");
    sendFrame(eraseFrame_.data(), eraseFrame_.size());
    startTimer();
    return true;
  case Reply::Fail:
    trace("ERASE ADR - fail");
    state_ = Fail;
    return false;
  case Reply::Nothing:
    if (!timedOut(loader::kEraseFrameTimeout))
      return false;
    trace("ERASE ADR - timeout");
    sendFrame(eraseFrame_.data(), eraseFrame_.size());
    startTimer();
    return true;
  default:
    traceValue("ERASE ADR - error ", byte, 4);
    return false;
  }
}

bool Uploader::stepErasing(int byte) {
  const Reply reply = loader::ClassifyReply(byte);
  switch (reply) {
  case Reply::Ok:
  case Reply::RecWait:
    trace(reply == Reply::Ok ? "ERASING - OK" : "ERASING - rec wait");
    bytesSent_ = 0;
    state_ = SendRec;
    return true;
  case Reply::SectorErased:
    trace("ERASING - sector erased");
    startTimer();
    return false;
  case Reply::Hello:
    return startOver("ERASING - hello");
  case Reply::Nothing:
    break;
  default:
    traceValue("ERASING - error ", byte, 4);
    break;
  }
  // Every sector erased is reported, so this long a silence means the erase is over and its
  // OK was lost. The first record frame is what a boot loader that is done waits for; its
  // acceptance and programming are confirmed as every record's are.
  if (!timedOut(loader::kBusyTimeout))
    return false;
  trace("ERASING - timeout");
  bytesSent_ = 0;
  state_ = SendRec;
  return true;
}

bool Uploader::stepWaitCold(int byte) {
  const Reply reply = loader::ClassifyReply(byte);
  switch (reply) {
  case Reply::Ok:
  case Reply::RecWait:
    trace(reply == Reply::Ok ? "WAIT COLD - OK" : "WAIT COLD - rec wait");
    state_ = SendRec;
    return true;
  case Reply::Hello:
    return startOver("WAIT COLD - hello");
  case Reply::Nothing:
    break;
  default:
    traceValue("WAIT COLD - error ", byte, 4);
    break;
  }
  // As after the erase: its ready answer was lost, and a record frame is what it waits for.
  if (!timedOut(loader::kBusyTimeout))
    return false;
  trace("WAIT COLD - timeout");
  state_ = SendRec;
  return true;
}

bool Uploader::startOver(std::string_view traceText) {
  // The boot loader says hello only from its start: it restarted (a brown-out, or a fail whose
  // byte was lost on the line) and has lost the erase and the records. Nothing
  // else would move it on, so start over as after a fail: RESET, the handshake, the erase and
  // every record again.
  trace(traceText);
  state_ = Fail;
  return false;
}

bool Uploader::stepSendEnd(int byte) {
  switch (loader::ClassifyReply(byte)) {
  case Reply::Ok:
    trace("SEND END - OK");
    state_ = AllDone;
    return true;
  case Reply::Nothing:
    // Until the boot loader has taken the end frame the flash is not whole: send it again and
    // wait for its OK again (a boot loader that took it answers a second copy with OK too).
    if (!timedOut(loader::kEndFrameTimeout))
      return false;
    trace("SEND END - timeout, resend");
    sendEndFrame();
    startTimer();
    return true;
  default:
    traceValue("SEND END - error ", byte, 4);
    return false;
  }
}

bool Uploader::debugTimedOut() {
  const auto limit = savedState_ == Prog ? loader::kBusyTimeout : loader::kRecordTimeout;
  if (!timedOut(limit))
    return false;
  trace(state_ == Debug1 ? "DEBUG 1 - timeout" : "DEBUG 2 - timeout");
  state_ = savedState_;
  return true;
}

bool Uploader::stepDebugHigh(int byte) {
  if (byte == loader::kNoByte)
    return debugTimedOut();
  traceValue("DEBUG 1 - ", byte, 2);
  debugWord_ = static_cast<std::uint16_t>(byte << 8);
  state_ = Debug2;
  return true;
}

bool Uploader::stepDebugLow(int byte) {
  if (byte == loader::kNoByte)
    return debugTimedOut();
  traceValue("DEBUG 2 - ", byte, 2);
  debugWord_ = static_cast<std::uint16_t>(debugWord_ | byte);
  ++debugWordCount_;
  if (debugWordCount_ == 1)
    debugValue_ = debugWord_;
  else if (debugWordCount_ == 2)
    debugValue_ = debugValue_ << 16 | debugWord_;
  state_ = savedState_;
  return true;
}

void Uploader::sendFrame(const std::uint8_t* frame, std::size_t length) {
  // Whatever the boot loader said before this frame went out answers an earlier one, so the
  // input is emptied first; never after the write, when the answer to this frame may already
  // be in (a write returns once the driver has the bytes, and a busy machine may run the
  // device before it runs us again).
  link_.PurgeTransmit();
  link_.PurgeReceive();
  link_.WriteBytes(frame, length);
}

void Uploader::sendEndFrame() {
  sendFrame(loader::kEndFrame.data(), loader::kEndFrame.size());
  ++endFramesSent_;
}

void Uploader::sendByte(Command command) {
  link_.WriteByte(static_cast<int>(command));
}

void Uploader::answerHello() {
  sendByte(Command::HelloAnswer);
  startTimer();
}

void Uploader::startTimer() {
  timerSecond_ = clock_.wholeSeconds();
}

bool Uploader::timedOut(std::chrono::milliseconds timeout) {
  return std::chrono::seconds(clock_.wholeSeconds() - timerSecond_) > timeout;
}

} // namespace quillon
