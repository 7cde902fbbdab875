#pragma once

#include <chrono>
#include <cstdint>

namespace quillon::loader {

// The GPS chip's boot loader answers with single bytes. What each one means to the flash
// loader; the four resend requests differ only in the boot loader's own bookkeeping.
enum class Reply {
  Nothing,      // no byte within the link's single-byte read time-out
  Hello,        // 0xAA: the boot loader is up and wants 0x55 back
  Ok,           // 0x55
  RecWait,      // 0x77: ready for a record frame
  Resend,       // 0x81, 0x82, 0x85, 0x88: send the last frame again
  BadCommand,   // 0x83
  Fail,         // 0x84: the flash operation failed, start over
  BadType,      // 0x86: the boot loader refuses this kind of transfer
  Reset,        // 0x87: the boot loader restarted itself
  Debug,        // 0x8E: a debug word follows, high byte first
  SectorErased, // 0x8F
  Other,        // any other byte
};

// The link's single-byte read gives this when no byte came.
inline constexpr int kNoByte = -3;

constexpr Reply ClassifyReply(int byte) {
  switch (byte) {
  case kNoByte:
    return Reply::Nothing;
  case 0xAA:
    return Reply::Hello;
  case 0x55:
    return Reply::Ok;
  case 0x77:
    return Reply::RecWait;
  case 0x81:
  case 0x82:
  case 0x85:
  case 0x88:
    return Reply::Resend;
  case 0x83:
    return Reply::BadCommand;
  case 0x84:
    return Reply::Fail;
  case 0x86:
    return Reply::BadType;
  case 0x87:
    return Reply::Reset;
  case 0x8E:
    return Reply::Debug;
  case 0x8F:
    return Reply::SectorErased;
  default:
    return Reply::Other;
  }
}

// Single bytes the flash loader sends.
enum class Command : std::uint8_t {
  HelloAnswer = 0x55, // answers the boot loader's hello
  Erase = 0x6A,       // asks to erase; the erase frame follows the boot loader's OK
};

// Frame markers: "[" LEN payload checksum "]".
inline constexpr std::uint8_t kFrameStart = 0x5B;
inline constexpr std::uint8_t kFrameEnd = 0x5D;

// Every wait on the boot loader ends: a byte lost on the line must not stall the load. The
// clock counts whole seconds, so a wait has passed when the difference of two whole-second
// readings is greater than these: 2 s or more for 1.5 s, 3 or more for 2.5 s, 5 or more for
// 4 s, 21 or more for 20 s.
// Answers the boot loader gives at once: to the hello answer, the erase command, a frame.
inline constexpr std::chrono::milliseconds kHandshakeTimeout{1500};
inline constexpr std::chrono::milliseconds kEraseCommandTimeout{1500};
inline constexpr std::chrono::milliseconds kEraseFrameTimeout{2500};
inline constexpr std::chrono::milliseconds kRecordTimeout{4000};
inline constexpr std::chrono::milliseconds kEndFrameTimeout{2500};
// The boot loader's own work: erasing a sector (each one reported), programming a record,
// starting again after a reset. Each takes well under a second; a boot loader that says
// nothing for this long has lost its answer, and a slow one is never hurried.
inline constexpr std::chrono::milliseconds kBusyTimeout{20000};

// Reads in NO CONNECT that bring no hello before the input is purged.
inline constexpr int kNoConnectPurgeEvery = 15;

} // namespace quillon::loader
