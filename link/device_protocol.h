#pragma once

#include <chrono>
#include <cstddef>

// The Yardmark's own command protocol, as the wire carries it: short texts sent with their
// terminating zero byte, echoed by the device, some followed by a data reply. The pauses are
// the device's: it needs them to answer, to reset its GPS chip or to switch modes.
namespace quillon::device_protocol {

using std::chrono::milliseconds;

// Hello: the device answers "SA-77" (anything after those five bytes is ignored).
inline constexpr char kHello[] = "SA-28";
inline constexpr char kHelloReply[] = "SA-77";

// The five commands. "KV7-G" and "KV7-g" differ only in case and are different commands.
inline constexpr char kReadDeviceInfo[] = "KV7-1";
inline constexpr char kReadGpsVersion[] = "KV7-G";
inline constexpr char kResetGps[] = "KV7-i";
inline constexpr char kStartGpsPassthrough[] = "KV7-g";
inline constexpr char kShutDown[] = "KV7-9";

// Text exchange: one write of at most 11 characters and their zero byte; a reply is polled
// with reads of up to 9 bytes, 10 ms apart, 30 times at most.
inline constexpr std::size_t kSendBufferSize = 12;
inline constexpr std::size_t kReplyBufferSize = 20;
inline constexpr std::size_t kReplyReadSize = 9;
inline constexpr int kReplyPolls = 30;
inline constexpr milliseconds kReplyPollPause{10};

inline constexpr milliseconds kOpenSettle{300};       // after a port opens
inline constexpr milliseconds kEchoPause{1000};       // between a command and its echo
inline constexpr milliseconds kDeviceInfoPause{2000}; // echo to device record
inline constexpr milliseconds kGpsVersionPause{4000}; // echo to GPS version reply
inline constexpr milliseconds kGpsResetPause{20000};  // the GPS chip restarting
inline constexpr milliseconds kShutDownPause{1000};   // before the shut-down command

// Device record, the data reply to kReadDeviceInfo.
inline constexpr std::size_t kDeviceRecordSize = 39;
inline constexpr std::size_t kBatteryOffset = 0;
inline constexpr std::size_t kBatteryLength = 3;
inline constexpr std::size_t kIdentityOffset = 4;
inline constexpr std::size_t kIdentityLength = 16;
inline constexpr std::size_t kAppVersionOffset = 33;
inline constexpr std::size_t kAppVersionLength = 5;
static_assert(kAppVersionOffset + kAppVersionLength < kDeviceRecordSize);

// GPS version, the data reply to kReadGpsVersion: 21 bytes beginning "$P".
inline constexpr std::size_t kGpsVersionReplySize = 21;
inline constexpr std::size_t kGpsVersionBufferSize = 30;
inline constexpr char kGpsVersionLead[] = "$P";

// Discovery: ten passes of one hello per open port.
inline constexpr int kDiscoveryPasses = 10;

// The line runs at 115200 baud, and at 4800 while commands go through to the GPS chip. No
// other speed is ever asked of a port.
inline constexpr int kHighBaud = 115200;
inline constexpr int kPassthroughBaud = 4800;
constexpr bool IsLineSpeed(int baud) {
  return baud == kHighBaud || baud == kPassthroughBaud;
}

} // namespace quillon::device_protocol
