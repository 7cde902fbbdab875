#include "fuzz/scripted_boot_loader.h"

#include <utility>

namespace quillon::fuzz {
namespace {

constexpr int kNoByte = -3;
constexpr std::int64_t kReadTimeMs = 30;
constexpr std::int64_t kSilenceAfterScriptMs = 1000;

} // namespace

ScriptedBootLoader::ScriptedBootLoader(const std::uint8_t* script, std::size_t size, bool portFound,
                                       VirtualClock& clock, Observer observer)
    : script_(script), size_(size), portFound_(portFound), clock_(clock),
      observer_(std::move(observer)) {}

StatusCode ScriptedBootLoader::ReadByte(int& out) {
  observer_(Call::ReadByte, nullptr, 0);
  clock_.advanceMs(kReadTimeMs);
  out = kNoByte;
  if (exhausted()) {
    clock_.advanceMs(kSilenceAfterScriptMs);
    return KV7INVALIDRESPONSE;
  }
  const std::uint8_t byte = script_[next_++];
  if (byte != kEscape) {
    out = byte;
    return KV7SUCCESS;
  }
  if (exhausted())
    return KV7INVALIDRESPONSE;
  const std::uint8_t operand = script_[next_++];
  if (operand == kEscape) {
    out = kEscape;
    return KV7SUCCESS;
  }
  clock_.advanceMs(1000 * (operand % 8));
  return KV7INVALIDRESPONSE;
}

StatusCode ScriptedBootLoader::WriteByte(int value) {
  // A value that is no byte at all is reported without one.
  if (value < 0 || value > 0xFF) {
    observer_(Call::WriteByte, nullptr, 0);
    return KV7UNKNOWNERROR;
  }
  const auto byte = static_cast<std::uint8_t>(value);
  observer_(Call::WriteByte, &byte, 1);
  return KV7SUCCESS;
}

StatusCode ScriptedBootLoader::WriteBytes(const std::uint8_t* buffer, std::size_t count) {
  observer_(Call::WriteBytes, buffer, count);
  return KV7SUCCESS;
}

StatusCode ScriptedBootLoader::PurgeReceive() {
  observer_(Call::PurgeReceive, nullptr, 0);
  return KV7SUCCESS;
}

StatusCode ScriptedBootLoader::PurgeTransmit() {
  observer_(Call::PurgeTransmit, nullptr, 0);
  return KV7SUCCESS;
}

} // namespace quillon::fuzz
