#pragma once

#include "base/status_codes.h"

#include <cstddef>
#include <cstdint>

namespace quillon {

// The byte-level calls the flash loader makes on the device link. DeviceLink implements it on
// the serial port; tests and fuzzers script it.
class LoaderLink {
public:
  virtual ~LoaderLink() = default;
  virtual bool IsPortFound() const = 0;
  // out = 0..255, result 0; or out = -3, result 5 when no byte came within about 30 ms.
  virtual StatusCode ReadByte(int& out) = 0;
  virtual StatusCode WriteByte(int value) = 0;
  virtual StatusCode WriteBytes(const std::uint8_t* buffer, std::size_t count) = 0;
  virtual StatusCode PurgeReceive() = 0;
  virtual StatusCode PurgeTransmit() = 0;
};

} // namespace quillon
