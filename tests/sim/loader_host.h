#pragma once

#include "tests/sim/sim_fixture.h"

#include <cstdint>
#include <vector>

namespace quillon::sim::testing {

// Frames as the host builds them: 5B, LEN in words (big-endian), payload, XOR of the
// payload's big-endian words, 5D. Written here from the wire format, not taken from the
// program's loader.
inline std::vector<std::uint8_t> FrameOf(const std::vector<std::uint8_t>& payload) {
  const std::size_t words = payload.size() / 2;
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < words; ++i)
    sum = static_cast<std::uint16_t>(sum ^ ((payload[2 * i] << 8) | payload[2 * i + 1]));
  std::vector<std::uint8_t> frame;
  frame.reserve(payload.size() + 6);
  frame.push_back(0x5B);
  frame.push_back(static_cast<std::uint8_t>(words >> 8));
  frame.push_back(static_cast<std::uint8_t>(words));
  frame.insert(frame.end(), payload.begin(), payload.end());
  frame.push_back(static_cast<std::uint8_t>(sum >> 8));
  frame.push_back(static_cast<std::uint8_t>(sum));
  frame.push_back(0x5D);
  return frame;
}

inline void PutBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline std::vector<std::uint8_t> EraseFrame(std::uint32_t first, std::uint32_t last) {
  std::vector<std::uint8_t> payload;
  PutBigEndian(payload, first);
  PutBigEndian(payload, last);
  return FrameOf(payload);
}

inline std::vector<std::uint8_t> RecordFrame(std::uint32_t address,
                                             std::vector<std::uint8_t> data) {
  if (data.size() % 2 != 0)
    data.push_back(0x00);
  std::vector<std::uint8_t> payload;
  PutBigEndian(payload, address);
  payload.insert(payload.end(), data.begin(), data.end());
  return FrameOf(payload);
}

inline std::vector<std::uint8_t> EndFrame() {
  return {0x5B, 0x00, 0x00, 0x00, 0x00, 0x5D};
}

constexpr std::uint8_t kHello = 0xAA;
constexpr std::uint8_t kOk = 0x55;
constexpr std::uint8_t kRecWait = 0x77;
constexpr std::uint8_t kSectorErased = 0x8F;
constexpr std::uint32_t kFlashStart = 0x2D000000;

inline const std::vector<std::uint8_t> kAllOff = Bytes("$PASHS,NME,ALL,A,OFF\r\n", false);
inline const std::vector<std::uint8_t> kUpdateFirmware = {0x24, 0x24, 0x00, 0x07, 0x0A, 0x00, 0x0D};

// Hello, passthrough, the two GPS commands at 4800 baud, then 115200 for the boot loader.
// A UART raises its rate only after the last byte has left; a pseudo-terminal does not wait
// and the device samples the rate when it reads, so the host holds 4800 baud until
// `tookOver` reports that the chip has handed over to its boot loader (at most 2 s).
inline void StartBootLoader(LineClient& host, const std::function<bool()>& tookOver) {
  Greet(host);
  ASSERT_EQ(Exchange(host, "KV7-g"), Bytes("KV7-g"));
  host.setBaud(4800);
  host.send(kAllOff);
  host.send(kUpdateFirmware);
  WaitUntil(tookOver);
  host.setBaud(115200);
}

inline void StartBootLoader(Served& served) {
  StartBootLoader(*served.host,
                  [&served] { return served.device.state() == DeviceState::BootLoader; });
}

// Up to the erase command accepted: hello answered, handshake OK, 0x6A OK.
inline void Handshake(LineClient& host) {
  ASSERT_TRUE(host.waitFor(kHello, 500ms));
  host.send({kOk});
  std::vector<std::uint8_t> skipped;
  ASSERT_TRUE(host.waitFor(kOk, 500ms, &skipped));
  for (const auto byte : skipped)
    ASSERT_EQ(byte, kHello) << "only late hellos may come before the OK";
  host.send({0x6A});
  ASSERT_EQ(host.read(1, 300ms), std::vector<std::uint8_t>{kOk});
}

// The erase frame sent and its replies read: sector-erased bytes, then OK.
inline int Erase(LineClient& host, std::uint32_t first, std::uint32_t last) {
  host.send(EraseFrame(first, last));
  std::vector<std::uint8_t> sectors;
  if (!host.waitFor(kOk, 2000ms, &sectors))
    return -1;
  for (const auto byte : sectors)
    if (byte != kSectorErased)
      return -1;
  return static_cast<int>(sectors.size());
}

// One record frame: OK for the frame, then rec wait when it is programmed.
inline std::vector<std::uint8_t> SendRecord(LineClient& host, std::uint32_t address,
                                            const std::vector<std::uint8_t>& data) {
  host.send(RecordFrame(address, data));
  return host.read(2, 500ms);
}

} // namespace quillon::sim::testing
