#pragma once

#include "pages/device_work.h"

#include <string>

namespace quillon {

// The computer kept awake on Linux: an inhibitor lock of logind ("sleep" and "shutdown",
// mode "block") asked for over the system bus, held as the file descriptor logind hands out
// and released by closing it. A desktop that is asked to suspend or shut down meanwhile shows
// who holds it back and why. Without a system bus or logind (containers, CI) take() says so and
// the update goes on; a bus that does not answer is given up after kAnswerMs.
class LogindPowerHold final : public PowerHold {
public:
  static constexpr int kAnswerMs = 2000;
  static constexpr const char* kWho = "Quillon";

  LogindPowerHold() = default;
  ~LogindPowerHold() override { release(); }
  LogindPowerHold(const LogindPowerHold&) = delete;
  LogindPowerHold& operator=(const LogindPowerHold&) = delete;

  bool take(std::string& why) override;
  void release() override;

private:
  int lock_ = -1;
};

} // namespace quillon
