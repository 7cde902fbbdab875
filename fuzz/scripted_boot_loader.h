#pragma once

#include "base/clock.h"
#include "base/loader_link.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon::fuzz {

// The boot loader's side of the line, played from fuzz input. Each single-byte read takes
// the next script byte as the boot loader's reply. The byte 0xFC is an escape: followed by
// 0xFC it is the reply 0xFC; followed by any other byte n it is silence during which the
// clock moves on by n % 8 whole seconds. Every read also costs the link's 30 ms read time.
// Once the script is spent every read is silence and a second passes.
class ScriptedBootLoader final : public LoaderLink {
public:
  // What the loader did on the link, in order, for the invariant checks.
  enum class Call { ReadByte, WriteByte, WriteBytes, PurgeReceive, PurgeTransmit };
  using Observer = std::function<void(Call call, const std::uint8_t* bytes, std::size_t count)>;

  ScriptedBootLoader(const std::uint8_t* script, std::size_t size, bool portFound,
                     VirtualClock& clock, Observer observer);

  bool IsPortFound() const override { return portFound_; }
  StatusCode ReadByte(int& out) override;
  StatusCode WriteByte(int value) override;
  StatusCode WriteBytes(const std::uint8_t* buffer, std::size_t count) override;
  StatusCode PurgeReceive() override;
  StatusCode PurgeTransmit() override;

  bool exhausted() const { return next_ >= size_; }

private:
  static constexpr std::uint8_t kEscape = 0xFC;

  const std::uint8_t* script_;
  std::size_t size_;
  std::size_t next_ = 0;
  bool portFound_;
  VirtualClock& clock_;
  Observer observer_;
};

} // namespace quillon::fuzz
