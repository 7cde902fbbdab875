#include "tests/loader/scripted_loader_link.h"

#include "gpsload/hex_text.h"

namespace quillon::test {

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i)
    text += (i ? " " : "") + HexText(std::uint32_t{bytes[i]}, 2);
  return text;
}

std::vector<std::string> ScriptedLoaderLink::frames() const {
  std::vector<std::string> out;
  for (const auto& event : events)
    if (event.rfind("F ", 0) == 0)
      out.push_back(event.substr(2));
  return out;
}

StatusCode ScriptedLoaderLink::ReadByte(int& out) {
  ++reads;
  out = -3;
  if (!replies.empty()) {
    out = replies.front();
    replies.pop_front();
  }
  return out < 0 ? KV7INVALIDRESPONSE : KV7SUCCESS;
}

StatusCode ScriptedLoaderLink::WriteByte(int value) {
  events.push_back("B " + HexText(static_cast<std::uint32_t>(value & 0xFF), 2));
  return KV7SUCCESS;
}

StatusCode ScriptedLoaderLink::WriteBytes(const std::uint8_t* buffer, std::size_t count) {
  events.push_back("F " + HexBytes(buffer, count));
  return KV7SUCCESS;
}

StatusCode ScriptedLoaderLink::PurgeReceive() {
  events.emplace_back("PR");
  return KV7SUCCESS;
}

StatusCode ScriptedLoaderLink::PurgeTransmit() {
  events.emplace_back("PT");
  return KV7SUCCESS;
}

} // namespace quillon::test
