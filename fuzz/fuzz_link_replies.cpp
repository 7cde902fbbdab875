// The device link fed arbitrary replies, write failures and pulled cables while a run calls
// its operations in an order of the input's choosing. Whatever the device says, results must
// be documented codes, the mode may only move as the mode machine allows, the texts the
// link keeps must stay terminated inside their fields and hold what the device sent, and no
// operation may wait longer than its fixed pauses and polls add up to.

#include "base/clock.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/input_reader.h"
#include "fuzz/link_expectations.h"
#include "fuzz/replay_serial_port.h"
#include "link/device_link.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using quillon::DeviceLink;
using quillon::StatusCode;
using quillon::fuzz::LinkOp;

constexpr std::uint32_t kMaxOps = 32;
// Two candidate ports: 2 x 300 ms to open, ten passes of up to 30 polls of 10 ms on each.
const std::vector<std::string> kPorts{"/dev/ttyFUZZ0", "/dev/ttyFUZZ1"};
constexpr std::int64_t kFindDeviceMaxMs = 2 * 300 + 10 * 2 * 30 * 10;
constexpr std::size_t kFindDeviceMaxReads = 10 * 2 * 30;
// The longest command: 1000 ms to the echo, 30 polls, 20 s for the GPS chip to reset.
constexpr std::int64_t kCommandMaxMs = 1000 + 1000 + 30 * 10 + 20000;
constexpr std::size_t kCommandMaxReads = 30 + 1;

struct Texts {
  std::string identity, gpsVersion, batteryLevel, applicationVersion;
  bool operator==(const Texts&) const = default;
};

template <std::size_t N> bool terminated(const std::array<char, N>& field) {
  return std::find(field.begin(), field.end(), '\0') != field.end();
}

Texts textsOf(const DeviceLink& link) {
  QUILLON_FUZZ_CHECK(terminated(link.identity()) && terminated(link.gpsVersion()) &&
                         terminated(link.batteryLevel()) && terminated(link.applicationVersion()) &&
                         terminated(link.portName()),
                     "a text field is not terminated inside its size");
  return {link.identity().data(), link.gpsVersion().data(), link.batteryLevel().data(),
          link.applicationVersion().data()};
}

// Bytes [from, from + length) of a reply as the C text they start.
std::string textAt(const std::vector<std::uint8_t>& reply, std::size_t from, std::size_t length) {
  std::string text;
  for (std::size_t i = from; i < from + length && i < reply.size() && reply[i] != 0; ++i)
    text += static_cast<char>(reply[i]);
  return text;
}

// What the fields must hold after the device answered `op` successfully.
Texts expectedTexts(LinkOp op, const Texts& before, const std::vector<std::uint8_t>& reply) {
  Texts texts = before;
  if (op == LinkOp::ReadDeviceInfo) {
    texts.batteryLevel = textAt(reply, 0, 3);
    if (texts.batteryLevel.size() == 3)
      texts.batteryLevel += '\n';
    texts.identity = textAt(reply, 4, 16);
    texts.applicationVersion = textAt(reply, 33, 5);
  } else if (op == LinkOp::ReadGpsVersion) {
    texts.gpsVersion = textAt(reply, 0, 21);
  }
  return texts;
}

StatusCode run(DeviceLink& link, LinkOp op) {
  switch (op) {
  case LinkOp::FindDevice:
    return link.FindDevice();
  case LinkOp::EnterCommandMode:
    return link.EnterCommandMode();
  case LinkOp::ReadDeviceInfo:
    return link.ReadDeviceInfo();
  case LinkOp::ReadGpsVersion:
    return link.ReadGpsVersion();
  case LinkOp::ResetGps:
    return link.ResetGps();
  case LinkOp::StartGpsPassthrough:
    return link.StartGpsPassthrough();
  case LinkOp::ShutDown:
    return link.ShutDown();
  case LinkOp::ExitGpsPassthrough:
    return link.ExitGpsPassthrough();
  case LinkOp::SetBaud4800:
    return link.SetBaud4800();
  case LinkOp::SetBaud115200:
    return link.SetBaud115200();
  case LinkOp::PrepareGpsForLoad:
    return link.PrepareGpsForLoad();
  case LinkOp::ReadByte: {
    int byte = 0;
    const StatusCode result = link.ReadByte(byte);
    QUILLON_FUZZ_CHECK(result == quillon::KV7SUCCESS ? byte >= 0 && byte <= 0xFF : byte == -3,
                       "ReadByte gave a value that is neither a byte nor -3");
    return result;
  }
  case LinkOp::WriteByte:
    return link.WriteByte(0x55);
  case LinkOp::Count:
    break;
  }
  return quillon::KV7UNKNOWNERROR;
}

std::int32_t textToIntOracle(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<std::int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

// What a version accessor handed out: the field's text when it holds one, otherwise nothing
// with `missing` as the last status.
void checkVersion(const DeviceLink& link, const std::optional<std::string>& got,
                  const std::string& field, StatusCode missing, const std::string& name) {
  QUILLON_FUZZ_CHECK(got.has_value() == !field.empty() &&
                         link.lastStatus() == (got ? quillon::KV7SUCCESS : missing),
                     (name + " answered wrongly for what the field holds").c_str());
  QUILLON_FUZZ_CHECK(!got || *got == field,
                     (name + " handed out another text than the field's").c_str());
}

// The status text and the three accessors the pages read the device's answers through.
void checkAccessors(DeviceLink& link, const Texts& texts) {
  QUILLON_FUZZ_CHECK(!link.GetStatusText().empty(), "a status without a text");

  const std::string battery = link.GetBatteryLevel();
  QUILLON_FUZZ_CHECK(battery == texts.batteryLevel,
                     "GetBatteryLevel handed out another text than the field's");
  QUILLON_FUZZ_CHECK(DeviceLink::TextToInt(battery.c_str()) == textToIntOracle(battery),
                     "TextToInt read the battery text wrongly");

  const std::optional<std::string> version = link.GetApplicationVersion();
  checkVersion(link, version, texts.applicationVersion, quillon::KV7INVALIDSOFTWAREVERSION,
               "GetApplicationVersion");
  const std::optional<std::string> gps = link.GetGpsVersion();
  checkVersion(link, gps, texts.gpsVersion, quillon::KV7INVALIDGPSVERSION, "GetGpsVersion");
}

void checkOperation(DeviceLink& link, LinkOp op, quillon::fuzz::ReplayScript& script,
                    quillon::VirtualClock& clock) {
  const quillon::LinkMode modeBefore = link.mode();
  const bool foundBefore = link.IsPortFound();
  const std::int32_t highSpeedBefore = link.highSpeed();
  const Texts textsBefore = textsOf(link);
  const std::int64_t startMs = clock.nowMs();
  const std::size_t readsBefore = script.reads();

  const StatusCode result = run(link, op);
  const bool ok = result == quillon::KV7SUCCESS;

  QUILLON_FUZZ_CHECK(
      quillon::fuzz::isDocumentedResult(op, result),
      (std::string(opName(op)) + " gave an undocumented code " + std::to_string(result)).c_str());
  QUILLON_FUZZ_CHECK(link.lastStatus() == result, "lastStatus is not the result just returned");

  const quillon::fuzz::ModeStep step =
      quillon::fuzz::expectedMode(op, modeBefore, foundBefore, result);
  QUILLON_FUZZ_CHECK(!ok || step.successAllowed,
                     (std::string(opName(op)) + " succeeded in a mode that refuses it").c_str());
  QUILLON_FUZZ_CHECK(link.mode() == step.after,
                     (std::string(opName(op)) + " moved the mode where it may not go").c_str());

  QUILLON_FUZZ_CHECK(!foundBefore || link.IsPortFound(), "portFound was cleared");
  QUILLON_FUZZ_CHECK(link.IsPortFound() == (foundBefore || (op == LinkOp::FindDevice && ok)),
                     "portFound changed other than by a successful scan");
  QUILLON_FUZZ_CHECK(!(op == LinkOp::FindDevice && ok) || link.hasPort(),
                     "a successful scan kept no port");

  std::int32_t highSpeed = highSpeedBefore;
  if (ok && op == LinkOp::SetBaud4800)
    highSpeed = 0;
  // A scan opens every port at 115200: the one it keeps runs at that speed, whatever the port
  // before it was set to. A scan that kept none may have opened some or none.
  if (ok &&
      (op == LinkOp::SetBaud115200 || op == LinkOp::ExitGpsPassthrough || op == LinkOp::FindDevice))
    highSpeed = 1;
  const bool scanOpenedSome = op == LinkOp::FindDevice && link.highSpeed() == 1;
  QUILLON_FUZZ_CHECK(link.highSpeed() == highSpeed || scanOpenedSome,
                     "highSpeed changed without a baud change or a scan");

  const Texts texts = textsOf(link);
  const Texts expected = ok ? expectedTexts(op, textsBefore, script.lastRead()) : textsBefore;
  QUILLON_FUZZ_CHECK(texts == expected,
                     (std::string(opName(op)) + " left texts other than the device sent").c_str());
  // A data reply is taken only whole: 39 bytes of device record, 21 of GPS version.
  if (ok && op == LinkOp::ReadDeviceInfo)
    QUILLON_FUZZ_CHECK(script.lastRead().size() == 39, "a short device record was taken");
  if (ok && op == LinkOp::ReadGpsVersion) {
    const std::vector<std::uint8_t>& reply = script.lastRead();
    QUILLON_FUZZ_CHECK(reply.size() == 21 && reply[0] == '$' && reply[1] == 'P',
                       "a GPS version reply that is short or lacks $P was taken");
  }

  const bool scan = op == LinkOp::FindDevice;
  QUILLON_FUZZ_CHECK(clock.nowMs() - startMs <= (scan ? kFindDeviceMaxMs : kCommandMaxMs),
                     (std::string(opName(op)) + " waited longer than its pauses allow").c_str());
  QUILLON_FUZZ_CHECK(script.reads() - readsBefore <=
                         (scan ? kFindDeviceMaxReads : kCommandMaxReads),
                     (std::string(opName(op)) + " read more often than its polls allow").c_str());

  checkAccessors(link, texts);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The number of operations and their codes, the number of fault bytes and the faults,
  // then the reply packets.
  quillon::fuzz::InputReader input(data, size);
  const std::vector<std::uint8_t> ops = input.bytes(input.upTo(kMaxOps));
  std::vector<std::uint8_t> faults = input.bytes(input.byte());
  quillon::fuzz::ReplayScript script(std::move(faults), input.rest());

  quillon::VirtualClock clock;
  DeviceLink link(clock, [&script]() -> std::unique_ptr<quillon::SerialPort> {
    return std::make_unique<quillon::fuzz::ReplaySerialPort>(script);
  });
  link.setCandidatePorts(kPorts);
  checkAccessors(link, textsOf(link));
  for (const std::uint8_t code : ops) {
    const auto op = static_cast<LinkOp>(code % static_cast<unsigned>(LinkOp::Count));
    checkOperation(link, op, script, clock);
  }
  return 0;
}
