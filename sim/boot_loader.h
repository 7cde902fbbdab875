#pragma once

#include "sim/device_port.h"
#include "sim/faults.h"
#include "sim/flash_model.h"
#include "sim/frame_parser.h"
#include "sim/wire_constants.h"

#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon::sim {

enum class LoaderState {
  Hello,        // says hello until the host answers
  AwaitCommand, // handshake done, waits for the erase command
  AwaitErase,   // waits for the erase frame
  Erasing,
  AwaitRecord, // waits for a record frame or the end frame
  Programming,
  ColdRestart, // after a reset reply, until it reports ready again
  Done,        // the end frame arrived
};

// The GPS chip's boot loader: hello, handshake, erase, record frames programmed into the
// flash, end frame. It talks at 115200 baud only and answers in single bytes.
class BootLoader {
public:
  struct Pace {
    std::chrono::milliseconds perSector{50};
    std::chrono::milliseconds perRecord{0};
    std::chrono::milliseconds coldRestart = loader_wire::kColdRestart;
  };

  BootLoader(FlashModel& flash, FaultSet& faults, DevicePort& port, Pace pace);

  // The chip hands over to its boot loader.
  void start();
  // Power is gone: everything stops where it is.
  void stop();
  void receive(std::uint8_t byte, int baud);

  LoaderState state() const { return state_; }
  int framesAccepted() const { return framesAccepted_; }
  std::uint32_t programmedBytes() const { return programmedBytes_; }
  // Whether the flash holds a whole firmware: an erase breaks it, and only the end frame of a
  // transfer makes it whole again. The chip runs its application only from a whole flash, so
  // a load stopped anywhere in between leaves a chip that answers nothing but its boot loader.
  bool flashWhole() const { return flashWhole_; }

private:
  void enter(LoaderState state);
  void sayHello();
  void reply(loader_wire::Reply byte);
  // One of the answers a "lose-answer" fault can take off the line, named as the fault names it.
  void answer(loader_wire::Reply byte, std::string_view what);
  void replyWord(std::uint16_t word);
  void singleByte(std::uint8_t byte);
  void frameArrived(Frame frame);
  void eraseFrame(const Frame& frame);
  void recordFrame(const Frame& frame);
  void endFrame();
  void eraseSector(std::uint32_t remaining);
  void program(std::uint32_t address, std::vector<std::uint8_t> data, int number);
  void armFrameGap();
  bool deaf() const;

  FlashModel& flash_;
  FaultSet& faults_;
  DevicePort& port_;
  Pace pace_;
  FrameParser parser_{loader_wire::kMaxPayloadWords};

  LoaderState state_ = LoaderState::Hello;
  bool running_ = false;
  SimTime deafUntil_{};
  Scheduler::Id timer_ = 0;    // the hello, erase or programming in progress
  Scheduler::Id gapTimer_ = 0; // a frame that stopped halfway
  int framesArrived_ = 0;      // every frame, good or bad, for "corrupt=N"
  bool corruptThisFrame_ = false;
  int framesAccepted_ = 0;
  int recordsProgrammed_ = 0; // in this transfer: numbers the records for the faults
  std::uint32_t programmedBytes_ = 0;
  bool flashWhole_ = true; // the factory firmware
};

// The name a "silent-at=" fault uses for a state.
std::string_view SilentName(LoaderState state);

} // namespace quillon::sim
