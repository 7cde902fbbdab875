#include "sim/command_protocol.h"

#include "sim/wire_constants.h"

#include <algorithm>

namespace quillon::sim {

using namespace device_wire;

CommandProtocol::CommandProtocol(DeviceFacts facts, GpsChip& chip, FaultSet& faults,
                                 DevicePort& port)
    : facts_(std::move(facts)), chip_(chip), faults_(faults), port_(port) {}

void CommandProtocol::reset() {
  text_.clear();
  overlong_ = false;
  greeted_ = false;
}

CommandEffect CommandProtocol::receive(std::uint8_t byte, int baud) {
  if (baud != kCommandBaud) {
    // Garbage to the device's UART: whatever text it fell into is lost.
    text_.clear();
    overlong_ = false;
    return CommandEffect::None;
  }
  if (byte != 0) {
    if (text_.size() < kMaxTextLength)
      text_.push_back(static_cast<char>(byte));
    else
      overlong_ = true;
    return CommandEffect::None;
  }
  const std::string text = overlong_ ? std::string() : text_;
  text_.clear();
  overlong_ = false;
  return text.empty() ? CommandEffect::None : handleText(text);
}

CommandEffect CommandProtocol::handleText(const std::string& text) {
  const bool isCommand = text == kReadDeviceInfo || text == kReadGpsVersion || text == kResetGps ||
                         text == kStartPassthrough || text == kShutDown;
  if (text == kHello) {
    if (faults_.takeOnce("unplug", "hello")) {
      port_.hangUp();
      return CommandEffect::None;
    }
    sendText(faults_.strikes("wrong-hello") ? kWrongHelloReply : kHelloReply);
    greeted_ = true;
    return CommandEffect::EnterCommandMode;
  }
  if (!isCommand || !greeted_)
    return CommandEffect::None;
  chip_.stopChatter();
  if (faults_.takeOnce("unplug", text)) {
    port_.hangUp();
    return CommandEffect::None;
  }
  const bool refused = faults_.strikes("no-echo", text) ||
                       (text == kResetGps && faults_.strikes("reset-refused")) ||
                       (text == kStartPassthrough && faults_.strikes("passthrough-refused"));
  if (refused)
    return CommandEffect::None;
  if (faults_.strikes("bad-echo", text)) {
    std::string wrong = text;
    wrong.back() = wrong.back() == '2' ? '3' : '2';
    sendText(wrong);
  } else {
    sendText(text);
  }

  if (text == kReadDeviceInfo) {
    sendLater(kDeviceRecordDelay, deviceRecord());
  } else if (text == kReadGpsVersion) {
    sendLater(kGpsVersionDelay, chip_.versionReply());
  } else if (text == kResetGps) {
    chip_.reset();
  } else if (text == kStartPassthrough) {
    return CommandEffect::EnterPassthrough;
  } else if (text == kShutDown) {
    return CommandEffect::ShutDown;
  }
  return CommandEffect::None;
}

void CommandProtocol::sendText(std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  port_.send(bytes);
}

void CommandProtocol::sendLater(std::chrono::milliseconds delay, std::vector<std::uint8_t> reply) {
  if (reply.empty())
    return;
  const SimTime due = port_.now() + port_.scaled(delay);
  const SimTime firstLook = std::max(port_.now(), due - kAfterEchoTaken);
  port_.at(firstLook, [this, reply = std::move(reply), due, firstLook] {
    sendOnceEchoTaken(reply, due, firstLook, false);
  });
}

void CommandProtocol::sendOnceEchoTaken(std::vector<std::uint8_t> reply, SimTime due,
                                        SimTime lookingSince, bool seen) {
  const SimTime now = port_.now();
  const bool waiting = !port_.hostTookAll();
  seen = seen || waiting;
  const bool taken = !waiting && (seen || now >= lookingSince + kEchoSeenWait);
  if (!taken && now < due + kEchoTakenWait) {
    port_.at(now + kEchoTakenPoll, [this, reply = std::move(reply), due, lookingSince, seen] {
      sendOnceEchoTaken(reply, due, lookingSince, seen);
    });
    return;
  }
  port_.at(std::max(due, now + kAfterEchoTaken),
           [this, reply = std::move(reply)] { port_.send(reply); });
}

std::vector<std::uint8_t> CommandProtocol::deviceRecord() const {
  // Bytes 3, 20..32 and 38 mean nothing to the host; the device fills them with what it has.
  std::string record = facts_.battery + "," + facts_.identity + ",KV7-0000000," + facts_.appVersion;
  record.resize(kDeviceRecordSize - 1, ' ');
  std::vector<std::uint8_t> bytes(record.begin(), record.end());
  bytes.push_back(0);
  if (faults_.strikes("short-record"))
    bytes.pop_back();
  return bytes;
}

} // namespace quillon::sim
