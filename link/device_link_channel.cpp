// The device link's serial channel: opening and configuring a port, bounded reads and writes,
// purges, baud changes and the short-text exchange the hello and the commands are built on.

#include "link/device_link.h"
#include "link/device_protocol.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace dp = device_protocol;

namespace {
constexpr char kPortNotFound[] = "NOT FOUND";
} // namespace

DeviceLink::DeviceLink(Clock& clock, SerialPortFactory portFactory)
    : clock_(clock), portFactory_(std::move(portFactory)) {
  std::memcpy(portName_.data(), kPortNotFound, sizeof kPortNotFound);
}

DeviceLink::~DeviceLink() {
  ClosePort();
}

void DeviceLink::setCandidatePorts(std::vector<std::string> paths) {
  candidates_ = std::move(paths);
}

void DeviceLink::pause(std::chrono::milliseconds duration) {
  clock_.sleepMs(static_cast<int>(duration.count()));
}

void DeviceLink::purgePort() {
  if (port_)
    purge(*port_);
}

void DeviceLink::purge(SerialPort& on) {
  on.purgeReceive();
  on.purgeTransmit();
}

StatusCode DeviceLink::reportPortFailure(PortStep step, const PortFailure& failure) {
  lastPortFailure_ = failure;
  switch (step) {
  case PortStep::Open:
    return report(KV7INVALIDHANDLEVALUE);
  case PortStep::Timeouts:
    return report(KV7SETCOMMTIMEOUTERROR);
  case PortStep::LineSettings:
    return report(KV7SETCOMSTATEERROR);
  case PortStep::Write:
    break;
  }
  if (failure.error == PortError::TimedOut)
    return report(KV7WAITFORSINGLEOBJECTERROR);
  if (failure.error == PortError::NoResources)
    return report(KV7EVENTNOTCREATED);
  return report(KV7GETOVERLAPPEDRESULTERROR);
}

std::unique_ptr<SerialPort> DeviceLink::OpenPort(const std::string& path) {
  auto opened = portFactory_ ? portFactory_() : nullptr;
  if (!opened) {
    reportPortFailure(PortStep::Open, {PortError::NoResources, 0});
    return nullptr;
  }
  if (const PortResult failure = opened->open(path)) {
    reportPortFailure(PortStep::Open, *failure);
    return nullptr;
  }
  // The time-outs may fail without failing the open: the line settings that follow decide.
  if (const PortResult failure = opened->applyTimeouts())
    reportPortFailure(PortStep::Timeouts, *failure);
  const PortResult lineRefused = opened->applyLineSettings(dp::kHighBaud);
  if (lineRefused)
    reportPortFailure(PortStep::LineSettings, *lineRefused);
  else
    baudRate_ = dp::kHighBaud;
  opened->purgeReceive();
  opened->purgeTransmit();
  if (lineRefused) {
    opened->close();
    return nullptr;
  }
  report(KV7SUCCESS);
  pause(dp::kOpenSettle);
  return opened;
}

void DeviceLink::ClosePort() {
  if (!port_)
    return;
  purgePort();
  port_->close();
  port_.reset();
  report(KV7SUCCESS);
}

bool DeviceLink::IsPortGone() const {
  return port_ && port_->hasGone();
}

std::size_t DeviceLink::ReadBytes(std::uint8_t* buffer, std::size_t n) {
  if (!port_ || buffer == nullptr)
    return 0;
  return port_->read(buffer, n).count;
}

StatusCode DeviceLink::WriteBytes(const std::uint8_t* buffer, std::size_t n) {
  if (!port_)
    return report(KV7INVALIDHANDLEVALUE);
  if (n == 0)
    return report(KV7SUCCESS);
  if (buffer == nullptr)
    return report(KV7EVENTNOTCREATED);
  return reportWrite(port_->write(buffer, n));
}

StatusCode DeviceLink::WriteByte(int value) {
  const auto byte = static_cast<std::uint8_t>(value & 0xFF);
  return WriteBytes(&byte, 1);
}

StatusCode DeviceLink::ReadByte(int& out) {
  std::uint8_t byte = 0;
  if (ReadBytes(&byte, 1) == 0) {
    out = -3;
    return report(KV7INVALIDRESPONSE);
  }
  out = byte;
  return report(KV7SUCCESS);
}

StatusCode DeviceLink::PurgeReceive() {
  if (port_)
    port_->purgeReceive();
  return KV7SUCCESS;
}

StatusCode DeviceLink::PurgeTransmit() {
  if (port_)
    port_->purgeTransmit();
  return KV7SUCCESS;
}

StatusCode DeviceLink::SendText(const char* text) {
  if (!port_)
    return report(KV7INVALIDHANDLEVALUE);
  return sendText(*port_, text);
}

StatusCode DeviceLink::sendText(SerialPort& on, const char* text) {
  purge(on);
  // The text and its zero byte go out as one write from a 12-byte buffer; a longer text would
  // not fit it, and a cut-off command is a different command, so it is not sent at all.
  std::array<std::uint8_t, dp::kSendBufferSize> sendBuffer{};
  const std::size_t length = text != nullptr ? ::strnlen(text, sendBuffer.size()) : 0;
  if (text == nullptr || length >= sendBuffer.size())
    return report(KV7COMMANDNOTSENT);
  std::memcpy(sendBuffer.data(), text, length);
  return reportWrite(on.write(sendBuffer.data(), length + 1));
}

StatusCode DeviceLink::ExpectReply(const char* expected) {
  if (!port_)
    return report(KV7INVALIDHANDLEVALUE);
  return expectReply(*port_, expected);
}

StatusCode DeviceLink::expectReply(SerialPort& on, const char* expected) {
  std::array<std::uint8_t, dp::kReplyBufferSize> reply{};
  int failures = 0;
  for (;;) {
    const ReadResult got = on.read(reply.data(), dp::kReplyReadSize);
    if (got.count > 0)
      break;
    // A port whose cable was pulled will never answer: stop now rather than poll it 30 times.
    if (got.failure && got.failure->error == PortError::Gone) {
      lastPortFailure_ = got.failure;
      return report(KV7NORESPONSE);
    }
    pause(dp::kReplyPollPause);
    if (++failures == dp::kReplyPolls)
      return report(KV7NORESPONSE);
  }
  const std::size_t wanted = expected != nullptr ? std::strlen(expected) : 0;
  if (wanted == 0)
    return report(KV7SUCCESS);
  // Only the first bytes are compared; a reply shorter than the expected text meets the
  // cleared rest of the buffer and differs.
  if (wanted > reply.size() || std::memcmp(reply.data(), expected, wanted) != 0)
    return report(KV7INVALIDRESPONSE);
  return report(KV7SUCCESS);
}

StatusCode DeviceLink::setBaud(int baud) {
  if (!portFound_)
    return report(KV7NOTFOUND);
  if (mode_ != ModePassthrough)
    return report(KV7INCORRECTMODE);
  if (!port_)
    return report(KV7INVALIDHANDLEVALUE);
  if (const PortResult failure = port_->applyLineSettings(baud))
    return reportPortFailure(PortStep::LineSettings, *failure);
  baudRate_ = baud;
  return report(KV7SUCCESS);
}

StatusCode DeviceLink::SetBaud4800() {
  return setBaud(dp::kPassthroughBaud);
}

StatusCode DeviceLink::SetBaud115200() {
  return setBaud(dp::kHighBaud);
}

std::int32_t DeviceLink::highSpeed() const {
  return baudRate_ == dp::kHighBaud ? 1 : 0;
}

} // namespace quillon
