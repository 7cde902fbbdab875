#include "pages/failure_notice.h"

namespace quillon {

void presentFailure(ProgressFrame& frame, const FailureNotice& failure) {
  for (const FailureAction action : failure.order) {
    switch (action) {
    case FailureAction::None:
      break;
    case FailureAction::MarkRow:
      frame.setRow(failure.row, ProgressFrame::kFail);
      break;
    case FailureAction::Show:
      frame.setStatus(failure.status);
      break;
    case FailureAction::Notice:
      frame.notice(failure.caption, failure.message);
      break;
    }
  }
}

std::string failureLogText(const StepFailure& failure, std::string_view detail) {
  std::string text;
  text.reserve(failure.logBefore.size() + detail.size() + failure.logAfter.size());
  text.append(failure.logBefore).append(detail).append(failure.logAfter);
  return text;
}

} // namespace quillon
