#pragma once

#include "gpsload/loader_protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace quillon::loader {

// Every frame to the boot loader is 5B, LEN, payload, checksum, 5D: LEN counts the payload's
// 16-bit words and the checksum is the exclusive or of those words; both go out big-endian.
inline constexpr std::size_t kFrameHeaderSize = 3;  // 5B and LEN
inline constexpr std::size_t kFrameTrailerSize = 3; // checksum and 5D
inline constexpr std::size_t kEraseFrameSize = 14;

void PutBigEndian16(std::uint8_t* out, std::uint16_t value);
void PutBigEndian32(std::uint8_t* out, std::uint32_t value);

// Exclusive or of `words` big-endian 16-bit words starting at `payload`.
std::uint16_t FrameChecksum(const std::uint8_t* payload, std::size_t words);

// Completes a frame whose payload of `payloadBytes` (even) already sits at
// frame + kFrameHeaderSize: writes the start marker, LEN, checksum and end marker. `frame`
// must hold payloadBytes + 6 bytes. Returns the frame's length.
std::size_t SealFrame(std::uint8_t* frame, std::size_t payloadBytes);

// The erase frame: the range's first and last address.
std::array<std::uint8_t, kEraseFrameSize> MakeEraseFrame(std::uint32_t start, std::uint32_t end);

// The end frame: no payload, checksum 0.
inline constexpr std::array<std::uint8_t, 6> kEndFrame{kFrameStart, 0, 0, 0, 0, kFrameEnd};

} // namespace quillon::loader
