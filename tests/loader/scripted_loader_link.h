#pragma once

#include "base/loader_link.h"

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

namespace quillon::test {

// A boot loader on a script: ReadByte hands out the queued bytes in order and -3 when the
// queue is empty (or where the script says -3). Every write and purge is recorded in order as
// a short text: "PR" receive purge, "PT" transmit purge, "B 6a" a single byte, "F 5b 00 ..." a
// buffer write.
class ScriptedLoaderLink final : public LoaderLink {
public:
  bool portFound = true;
  std::deque<int> replies;
  std::vector<std::string> events;
  int reads = 0;

  void queue(std::initializer_list<int> bytes) { replies.insert(replies.end(), bytes); }
  // The buffer writes only, in the order they went out.
  std::vector<std::string> frames() const;

  bool IsPortFound() const override { return portFound; }
  StatusCode ReadByte(int& out) override;
  StatusCode WriteByte(int value) override;
  StatusCode WriteBytes(const std::uint8_t* buffer, std::size_t count) override;
  StatusCode PurgeReceive() override;
  StatusCode PurgeTransmit() override;
};

// "5b 00 04" for the given bytes.
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);

} // namespace quillon::test
