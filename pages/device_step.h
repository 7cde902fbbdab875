#pragma once

#include <chrono>

namespace quillon {

// The pauses a device page makes around each step: before a device call, so that the golfer
// can read what is about to happen, and after a reported result, so that it can be read.
inline constexpr std::chrono::milliseconds kBeforeDeviceStep{1000};
inline constexpr std::chrono::milliseconds kAfterDeviceStep{2000};

} // namespace quillon
