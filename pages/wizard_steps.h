#pragma once

namespace quillon::step {

// The wizard's eleven steps in the order they run, numbered as each page shows its step and as
// the log names it ("Step 6: successful").
inline constexpr int kIntro = 1;
inline constexpr int kConnectComputer = 2;
inline constexpr int kConnectDevice = 3;
inline constexpr int kTurnOn = 4;
inline constexpr int kVerifyConnection = 5;
inline constexpr int kFirmwareLoad = 6;
inline constexpr int kTurnOff = 7;
inline constexpr int kTurnOnAgain = 8;
inline constexpr int kVerifyScreen = 9;
inline constexpr int kResetAndVerify = 10;
inline constexpr int kFinish = 11;

inline constexpr int kFirst = kIntro;
inline constexpr int kLast = kFinish;
inline constexpr int kCount = kLast - kFirst + 1;

} // namespace quillon::step
