#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon::sim {

// The Yardmark's own command protocol, as the wire carries it. Every text travels with its
// terminating zero byte, in both directions.
namespace device_wire {
constexpr std::string_view kHello = "SA-28";
constexpr std::string_view kHelloReply = "SA-77";
constexpr std::string_view kWrongHelloReply = "SA-78";
constexpr std::string_view kReadDeviceInfo = "KV7-1";
constexpr std::string_view kReadGpsVersion = "KV7-G";
constexpr std::string_view kResetGps = "KV7-i";
constexpr std::string_view kStartPassthrough = "KV7-g";
constexpr std::string_view kShutDown = "KV7-9";
// Longer texts are noise; the device drops them at the next zero byte.
constexpr std::size_t kMaxTextLength = 11;

constexpr std::size_t kDeviceRecordSize = 39;
constexpr std::size_t kGpsVersionSize = 21;
// The device's UART runs at this rate outside passthrough.
constexpr int kCommandBaud = 115200;

// The device answers the echo at once, and its data reply later: after the host has read the
// echo (its read ends 25 ms after the last echo byte, 1 s or more after the command) and
// before its data read, which starts 2000 ms (device record) or 4000 ms (GPS version) after
// the echo read.
constexpr std::chrono::milliseconds kDeviceRecordDelay{1500};
constexpr std::chrono::milliseconds kGpsVersionDelay{2500};
// A device run faster than real time must still not answer into the host's echo read, which
// takes whatever comes within one inter-byte gap (25 ms of real time, which no time scale
// shortens) of the echo's last byte, and later still on a busy machine. So a data reply also
// waits until the host has taken the echo, and this much longer. The device looks every
// kEchoTakenPoll, from kAfterEchoTaken before the reply is due, for the echo waiting at the
// host and then gone; an echo never seen waiting went to a host quicker than the looks, and
// counts as taken after kEchoSeenWait (a pseudo-terminal hands bytes over a moment after they
// were written, later on a busy machine). At real time the host took the echo long before,
// and the reply leaves when it is due. A host that does not take the echo within
// kEchoTakenWait of that gets the reply all the same.
constexpr std::chrono::milliseconds kAfterEchoTaken{100};
constexpr std::chrono::milliseconds kEchoTakenPoll{2};
constexpr std::chrono::milliseconds kEchoSeenWait{30};
constexpr std::chrono::milliseconds kEchoTakenWait{1000};
} // namespace device_wire

// The GPS chip behind passthrough: it takes its two commands at 4800 baud only.
namespace gps_wire {
constexpr int kCommandBaud = 4800;
constexpr std::array<std::uint8_t, 22> kAllOff = {'$', 'P', 'A', 'S', 'H',  'S', ',', 'N',
                                                  'M', 'E', ',', 'A', 'L',  'L', ',', 'A',
                                                  ',', 'O', 'F', 'F', '\r', '\n'};
constexpr std::array<std::uint8_t, 7> kUpdateFirmware = {0x24, 0x24, 0x00, 0x07, 0x0A, 0x00, 0x0D};
// How often the chip sends a sentence: in passthrough until the all-off command, and after a
// reset when it chatters.
constexpr std::chrono::milliseconds kNmeaPeriod{1000};
constexpr std::chrono::milliseconds kChatterPeriod{1000};
constexpr int kChatterSentences = 3;
} // namespace gps_wire

// The chip's boot loader. It talks at 115200 baud only.
namespace loader_wire {
constexpr int kBaud = 115200;

enum class Reply : std::uint8_t {
  Hello = 0xAA,
  Ok = 0x55,
  RecWait = 0x77,
  ResendChecksum = 0x81, // the frame's checksum did not match
  ResendFraming = 0x82,  // no end marker where the length said it would be
  BadCommand = 0x83,
  Fail = 0x84,
  ResendLength = 0x85, // a length no frame of this boot loader can have
  BadType = 0x86,
  Reset = 0x87,
  ResendIncomplete = 0x88, // the frame stopped halfway
  Debug = 0x8E,            // followed by one 16-bit word, high byte first
  SectorErased = 0x8F,
};

// Bytes the host sends outside frames.
constexpr std::uint8_t kHostHello = 0x55;
constexpr std::uint8_t kHostEraseCommand = 0x6A;

constexpr std::uint8_t kFrameStart = 0x5B;
constexpr std::uint8_t kFrameEnd = 0x5D;
// A record frame holds at most 2230 data bytes and its 4-byte address.
constexpr std::size_t kMaxPayloadWords = (2230 + 4) / 2;
constexpr std::size_t kEraseWords = 4;

constexpr std::chrono::milliseconds kHelloPeriod{250};
constexpr std::chrono::milliseconds kColdRestart{100};
// A frame whose bytes stop arriving for this long is given up and a resend asked for.
constexpr std::chrono::milliseconds kFrameGapLimit{500};
constexpr std::uint32_t kSectorSize = 64 * 1024;
constexpr std::uint32_t kSectorCount = 16;
// The host's loader moves back by one chunk of this size on a two-word debug report.
constexpr std::uint32_t kHostChunk = 1980;
} // namespace loader_wire

} // namespace quillon::sim
