#pragma once

#include "pages/progress_frame.h"

#include <array>
#include <string>
#include <string_view>

namespace quillon {

// The three things a progress page does when a step fails, in the order the user sees them;
// the order differs from notice to notice.
enum class FailureAction {
  None,
  MarkRow, // the failed row to "FAIL" (visible only with a later Show)
  Show,    // setStatus with the failure's status text
  Notice,  // the message box
};

struct FailureNotice {
  std::string_view caption; // "NOTICE E:n"
  std::string_view message;
  int row; // 1-based
  std::string_view status;
  std::array<FailureAction, 3> order;
};

inline constexpr std::array<FailureAction, 3> kRowShowNotice{
    FailureAction::MarkRow, FailureAction::Show, FailureAction::Notice};
inline constexpr std::array<FailureAction, 3> kNoticeRowShow{
    FailureAction::Notice, FailureAction::MarkRow, FailureAction::Show};
inline constexpr std::array<FailureAction, 3> kRowNoticeShow{
    FailureAction::MarkRow, FailureAction::Notice, FailureAction::Show};
inline constexpr std::array<FailureAction, 3> kNoticeShow{FailureAction::Notice,
                                                          FailureAction::Show};
inline constexpr std::array<FailureAction, 3> kRowShow{FailureAction::MarkRow, FailureAction::Show};
inline constexpr std::array<FailureAction, 3> kRowNotice{FailureAction::MarkRow,
                                                         FailureAction::Notice};

void presentFailure(ProgressFrame& frame, const FailureNotice& failure);

// A failed step of a device page: what the user sees and the log line it writes. The line is
// logBefore, the detail (the link's status text, the device's version, a reason), logAfter.
struct StepFailure {
  FailureNotice notice;
  bool errorLine; // false: an Info line (the user's device is fine, the update just cannot run)
  std::string_view logBefore;
  std::string_view logAfter;
};

std::string failureLogText(const StepFailure& failure, std::string_view detail);

} // namespace quillon
