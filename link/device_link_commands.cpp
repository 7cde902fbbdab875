// The device's five commands, their shared framing and gate, and the accessors the pages read
// the device's answers through.

#include "link/device_link.h"
#include "link/device_protocol.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace quillon {

namespace dp = device_protocol;

namespace {

// Copies `length` reply bytes into a text field and ends it with a zero byte; a zero byte
// inside the reply ends the text early, as the device's texts are C strings.
template <std::size_t N>
void StoreText(std::array<char, N>& field, const std::uint8_t* from, std::size_t length) {
  static_assert(N > 0);
  const std::size_t kept = std::min(length, N - 1);
  std::memcpy(field.data(), from, kept);
  field[kept] = '\0';
}

// The text a field holds, up to its zero byte.
template <std::size_t N> std::string TextOf(const std::array<char, N>& field) {
  return std::string(field.data(), ::strnlen(field.data(), N));
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

bool DeviceLink::commandGate() {
  if (!portFound_) {
    report(KV7NOTFOUND);
    return false;
  }
  if (mode_ != ModeCommand) {
    report(KV7INCORRECTMODE);
    return false;
  }
  return true;
}

StatusCode DeviceLink::SendCommand(const char* text) {
  purgePort();
  if (!port_)
    return report(KV7INVALIDHANDLEVALUE);
  purgePort();
  if (const StatusCode sent = SendText(text); sent != KV7SUCCESS)
    return sent;
  pause(dp::kEchoPause);
  return ExpectReply(text);
}

StatusCode DeviceLink::ReadDeviceInfo() {
  purgePort();
  if (!commandGate())
    return lastStatus_;
  if (const StatusCode echoed = SendCommand(dp::kReadDeviceInfo); echoed != KV7SUCCESS)
    return echoed;
  pause(dp::kDeviceInfoPause);
  std::array<std::uint8_t, dp::kDeviceRecordSize> record{};
  if (ReadBytes(record.data(), record.size()) < record.size())
    return report(KV7INVALIDRESPONSE);
  StoreText(batteryLevel_, record.data() + dp::kBatteryOffset, dp::kBatteryLength);
  batteryLevel_[dp::kBatteryLength] = '\n'; // the device record's own line end, kept for the log
  batteryLevel_[dp::kBatteryLength + 1] = '\0';
  StoreText(identity_, record.data() + dp::kIdentityOffset, dp::kIdentityLength);
  StoreText(applicationVersion_, record.data() + dp::kAppVersionOffset, dp::kAppVersionLength);
  return report(KV7SUCCESS);
}

StatusCode DeviceLink::ReadGpsVersion() {
  gpsVersionUnanswered_ = false;
  if (!commandGate())
    return lastStatus_;
  if (const StatusCode echoed = SendCommand(dp::kReadGpsVersion); echoed != KV7SUCCESS)
    return echoed;
  pause(dp::kGpsVersionPause);
  std::array<std::uint8_t, dp::kGpsVersionBufferSize> reply{};
  const std::size_t got = ReadBytes(reply.data(), dp::kGpsVersionReplySize);
  gpsVersionUnanswered_ = got == 0 && !IsPortGone();
  if (got < dp::kGpsVersionReplySize || reply[0] != dp::kGpsVersionLead[0] ||
      reply[1] != dp::kGpsVersionLead[1])
    return report(KV7INVALIDRESPONSE);
  gpsVersion_.fill('\0');
  StoreText(gpsVersion_, reply.data(), dp::kGpsVersionReplySize);
  return report(KV7SUCCESS);
}

StatusCode DeviceLink::ResetGps() {
  if (!commandGate())
    return lastStatus_;
  if (const StatusCode echoed = SendCommand(dp::kResetGps); echoed != KV7SUCCESS)
    return echoed;
  pause(dp::kGpsResetPause);
  purgePort(); // the chip's start-up chatter is of no use
  return report(KV7SUCCESS);
}

StatusCode DeviceLink::StartGpsPassthrough() {
  if (!commandGate())
    return lastStatus_;
  const StatusCode echoed = SendCommand(dp::kStartGpsPassthrough);
  if (echoed == KV7SUCCESS)
    mode_ = ModePassthrough;
  return echoed;
}

StatusCode DeviceLink::ShutDown() {
  pause(dp::kShutDownPause);
  if (!commandGate())
    return lastStatus_;
  const StatusCode echoed = SendCommand(dp::kShutDown);
  if (echoed == KV7SUCCESS)
    mode_ = ModeIdle;
  return echoed;
}

StatusCode DeviceLink::ExitGpsPassthrough() {
  if (!portFound_)
    return report(KV7NOTFOUND);
  if (mode_ != ModePassthrough)
    return report(KV7INCORRECTMODE);
  // Only the PC side changes: the device leaves passthrough when it is switched off and on.
  const StatusCode result = SetBaud115200();
  if (result == KV7SUCCESS)
    mode_ = ModeIdle;
  return result;
}

std::string DeviceLink::GetBatteryLevel() const {
  return TextOf(batteryLevel_);
}

std::optional<std::string> DeviceLink::GetApplicationVersion() {
  return reportStored(TextOf(applicationVersion_), KV7INVALIDSOFTWAREVERSION);
}

std::optional<std::string> DeviceLink::GetGpsVersion() {
  return reportStored(TextOf(gpsVersion_), KV7INVALIDGPSVERSION);
}

std::optional<std::string> DeviceLink::reportStored(std::string text, StatusCode whenNone) {
  if (text.empty()) {
    report(whenNone);
    return std::nullopt;
  }
  report(KV7SUCCESS);
  return text;
}

std::int32_t DeviceLink::TextToInt(const char* text) {
  if (text == nullptr)
    return 0;
  while (IsBlank(*text))
    ++text;
  const bool negative = *text == '-';
  if (*text == '+' || *text == '-')
    ++text;
  // Accumulate towards the sign's limit, so a long run of digits saturates instead of
  // overflowing.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
  std::int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text)
    value = std::min(limit, value * 10 + (*text - '0'));
  return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace quillon
