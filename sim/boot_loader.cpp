#include "sim/boot_loader.h"

#include <algorithm>

namespace quillon::sim {

using loader_wire::Reply;

namespace {

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
         (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
}

Reply ResendFor(FrameCheck check) {
  switch (check) {
  case FrameCheck::BadChecksum:
    return Reply::ResendChecksum;
  case FrameCheck::NoEndMarker:
    return Reply::ResendFraming;
  case FrameCheck::BadLength:
  case FrameCheck::Good:
    break;
  }
  return Reply::ResendLength;
}

std::chrono::milliseconds SecondsToMs(double seconds) {
  return std::chrono::milliseconds(static_cast<std::int64_t>(seconds * 1000.0));
}

} // namespace

std::string_view SilentName(LoaderState state) {
  switch (state) {
  case LoaderState::Hello:
    return "hello";
  case LoaderState::AwaitCommand:
    return "hand";
  case LoaderState::AwaitErase:
    return "erase";
  case LoaderState::Erasing:
    return "erasing";
  case LoaderState::AwaitRecord:
    return "record";
  case LoaderState::Programming:
    return "prog";
  case LoaderState::ColdRestart:
  case LoaderState::Done:
    break;
  }
  return "";
}

BootLoader::BootLoader(FlashModel& flash, FaultSet& faults, DevicePort& port, Pace pace)
    : flash_(flash), faults_(faults), port_(port), pace_(pace) {}

void BootLoader::start() {
  running_ = true;
  enter(LoaderState::Hello);
}

void BootLoader::stop() {
  running_ = false;
  port_.cancel(timer_);
  port_.cancel(gapTimer_);
  timer_ = gapTimer_ = 0;
  parser_.abandon();
}

void BootLoader::enter(LoaderState state) {
  state_ = state;
  port_.cancel(timer_);
  timer_ = 0;
  // A stall makes the loader deaf to the host; in the states where the loader itself acts
  // next (hello, erasing, programming) that action waits for the stall to end.
  deafUntil_ = SimTime{};
  if (const auto seconds = faults_.takeSilence(SilentName(state)))
    deafUntil_ = port_.now() + port_.scaled(SecondsToMs(*seconds));
  if (state == LoaderState::Hello)
    timer_ = port_.at(std::max(port_.now(), deafUntil_), [this] { sayHello(); });
}

bool BootLoader::deaf() const {
  return port_.now() < deafUntil_;
}

void BootLoader::sayHello() {
  timer_ = 0;
  if (state_ != LoaderState::Hello)
    return;
  // Until the host has raised the line to the loader's rate, a hello would be garbage.
  if (!deaf() && port_.lineBaud() == loader_wire::kBaud)
    reply(Reply::Hello);
  timer_ = port_.after(loader_wire::kHelloPeriod, [this] { sayHello(); });
}

void BootLoader::reply(Reply byte) {
  port_.send({static_cast<std::uint8_t>(byte)});
}

void BootLoader::answer(Reply byte, std::string_view what) {
  if (!faults_.takeOnce("lose-answer", what))
    reply(byte);
}

void BootLoader::replyWord(std::uint16_t word) {
  port_.send({static_cast<std::uint8_t>(Reply::Debug), static_cast<std::uint8_t>(word >> 8),
              static_cast<std::uint8_t>(word & 0xFF)});
}

void BootLoader::receive(std::uint8_t byte, int baud) {
  if (!running_)
    return;
  if (baud != loader_wire::kBaud || deaf()) {
    parser_.abandon();
    return;
  }
  if (!parser_.inFrame() && byte != loader_wire::kFrameStart) {
    singleByte(byte);
    return;
  }
  if (!parser_.inFrame()) {
    ++framesArrived_;
    corruptThisFrame_ = faults_.takeOnce("corrupt", framesArrived_);
  }
  // The corrupted byte is the first after the length: payload or, in the end frame, checksum.
  if (corruptThisFrame_ && parser_.bytesSoFar() == 3)
    byte ^= 0x01;
  auto frame = parser_.feed(byte);
  if (!frame) {
    armFrameGap();
    return;
  }
  port_.cancel(gapTimer_);
  gapTimer_ = 0;
  frameArrived(std::move(*frame));
}

void BootLoader::armFrameGap() {
  port_.cancel(gapTimer_);
  gapTimer_ = port_.after(loader_wire::kFrameGapLimit, [this] {
    gapTimer_ = 0;
    parser_.abandon();
    reply(Reply::ResendIncomplete);
  });
}

void BootLoader::singleByte(std::uint8_t byte) {
  if (state_ == LoaderState::Hello && byte == loader_wire::kHostHello) {
    if (faults_.strikes("bad-type")) {
      reply(Reply::BadType);
      return;
    }
    answer(Reply::Ok, "hand");
    enter(LoaderState::AwaitCommand);
    return;
  }
  // A second 0x55 in AwaitCommand answers a hello that was already on its way; the host has
  // its OK. A repeated erase command means the host missed our OK.
  if ((state_ == LoaderState::AwaitCommand || state_ == LoaderState::AwaitErase) &&
      byte == loader_wire::kHostEraseCommand) {
    answer(Reply::Ok, "erase");
    if (state_ == LoaderState::AwaitCommand)
      enter(LoaderState::AwaitErase);
  }
}

void BootLoader::frameArrived(Frame frame) {
  // As after a brown-out: the frame is lost and the loader greets the host again.
  if (faults_.takeOnce("restart", framesArrived_)) {
    enter(LoaderState::Hello);
    return;
  }
  switch (state_) {
  case LoaderState::AwaitErase:
    eraseFrame(frame);
    return;
  case LoaderState::AwaitRecord:
    if (frame.check == FrameCheck::Good && frame.payload.empty())
      endFrame();
    else
      recordFrame(frame);
    return;
  case LoaderState::Done:
    if (frame.check == FrameCheck::Good && frame.payload.empty())
      reply(Reply::Ok); // the host missed our OK and sent the end frame again
    return;
  default:
    return; // e.g. the erase frame again while erasing: already in hand
  }
}

void BootLoader::eraseFrame(const Frame& frame) {
  if (frame.check != FrameCheck::Good) {
    reply(ResendFor(frame.check));
    return;
  }
  if (frame.payload.size() != 2 * loader_wire::kEraseWords) {
    reply(Reply::ResendLength);
    return;
  }
  if (faults_.takeOnce("unplug", "erase")) {
    port_.hangUp();
    return;
  }
  const std::uint32_t first = BigEndian32(frame.payload, 0);
  const std::uint32_t last = BigEndian32(frame.payload, 4);
  if (first > last || faults_.takeOnce("bad-cmd", "") || faults_.strikes("refuse-erase")) {
    reply(Reply::BadCommand);
    enter(LoaderState::Hello);
    return;
  }
  ++framesAccepted_;
  flash_.erase(first, last);
  flashWhole_ = false;
  programmedBytes_ = 0;
  recordsProgrammed_ = 0;
  const std::uint64_t span = std::uint64_t{last} - first + 1;
  const auto sectors = static_cast<std::uint32_t>(std::min<std::uint64_t>(
      loader_wire::kSectorCount, (span + loader_wire::kSectorSize - 1) / loader_wire::kSectorSize));
  enter(LoaderState::Erasing);
  eraseSector(sectors);
}

void BootLoader::eraseSector(std::uint32_t remaining) {
  timer_ = port_.after(pace_.perSector, [this, remaining] {
    timer_ = 0;
    if (deaf()) { // stalled: the sector finishes once the stall is over
      timer_ = port_.at(deafUntil_, [this, remaining] { eraseSector(remaining); });
      return;
    }
    reply(Reply::SectorErased);
    if (remaining > 1) {
      eraseSector(remaining - 1);
      return;
    }
    answer(Reply::Ok, "erasing");
    enter(LoaderState::AwaitRecord);
  });
}

void BootLoader::recordFrame(const Frame& frame) {
  if (frame.check != FrameCheck::Good) {
    reply(ResendFor(frame.check));
    return;
  }
  if (frame.payload.size() < 6) { // an address and at least one data word
    reply(Reply::ResendLength);
    return;
  }
  const int number = recordsProgrammed_ + 1;
  if (faults_.takeOnce("unplug", "record:" + std::to_string(number))) {
    port_.hangUp();
    return;
  }
  if (faults_.takeOnce("power-cut", number)) {
    port_.losePower();
    return;
  }
  if (faults_.takeOnce("resend", number)) {
    reply(Reply::ResendChecksum);
    return;
  }
  if (faults_.takeOnce("reset", number)) {
    reply(Reply::Reset);
    recordsProgrammed_ = 0;
    programmedBytes_ = 0;
    enter(LoaderState::ColdRestart);
    timer_ = port_.after(pace_.coldRestart, [this] {
      timer_ = 0;
      answer(Reply::RecWait, "cold");
      enter(LoaderState::AwaitRecord);
    });
    return;
  }
  ++framesAccepted_;
  answer(Reply::Ok, "record");
  const std::uint32_t address = BigEndian32(frame.payload, 0);
  program(address, std::vector<std::uint8_t>(frame.payload.begin() + 4, frame.payload.end()),
          number);
}

void BootLoader::program(std::uint32_t address, std::vector<std::uint8_t> data, int number) {
  enter(LoaderState::Programming);
  timer_ = port_.after(pace_.perRecord, [this, address, data = std::move(data), number] {
    timer_ = 0;
    if (deaf()) { // stalled while programming: finish once the stall is over
      timer_ =
          port_.at(deafUntil_, [this, address, data, number] { program(address, data, number); });
      return;
    }
    if (faults_.takeOnce("fail", number)) {
      reply(Reply::Fail);
      enter(LoaderState::Hello);
      return;
    }
    if (faults_.takeOnce("debug2", number)) {
      // Reports back an address one host chunk before this record and leaves the record
      // unprogrammed: the host must send it again.
      const std::uint32_t reported = address - loader_wire::kHostChunk;
      replyWord(static_cast<std::uint16_t>(reported >> 16));
      replyWord(static_cast<std::uint16_t>(reported & 0xFFFF));
      reply(Reply::RecWait);
      enter(LoaderState::AwaitRecord);
      return;
    }
    if (faults_.takeOnce("debug1", number))
      replyWord(static_cast<std::uint16_t>(address >> 16));
    flash_.program(address, data.data(), data.size());
    programmedBytes_ += static_cast<std::uint32_t>(data.size());
    ++recordsProgrammed_;
    answer(Reply::RecWait, "prog");
    enter(LoaderState::AwaitRecord);
  });
}

void BootLoader::endFrame() {
  if (faults_.takeOnce("unplug", "end")) {
    port_.hangUp();
    return;
  }
  if (const auto seconds = faults_.takeSilence("end")) {
    deafUntil_ = port_.now() + port_.scaled(SecondsToMs(*seconds));
    return;
  }
  ++framesAccepted_;
  flashWhole_ = true;
  answer(Reply::Ok, "end");
  enter(LoaderState::Done);
}

} // namespace quillon::sim
