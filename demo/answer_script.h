#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string_view>

#include "pages/page_view.h"

namespace quillon::demo {

// The scripted golfer's answers, step by step: "step5=no,no,yes;step1=no" answers NO twice and
// then YES on step 5 and NO on step 1. Each answer is used once, in order, across the step's
// showings; when a step has none left the golfer goes forward (YES, Next, Finish).
class AnswerScript {
public:
  // Nothing when the text is not a script: an unknown word, a step outside 1 to 11, a step
  // without answers.
  static std::optional<AnswerScript> Parse(std::string_view text);

  // The next answer for `step`, taken off the script.
  PageInput next(int step);

private:
  std::map<int, std::deque<PageInput>> answers_;
};

} // namespace quillon::demo
