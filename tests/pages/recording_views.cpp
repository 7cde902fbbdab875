#include "recording_views.h"

#include "pages/plain_page.h"
#include "pages/progress_page.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quillon::testing {

void EventLog::addWait(const std::string& prefix, int ms) {
  const std::string tag = prefix.empty() ? "wait " : prefix + " wait ";
  if (!events.empty() && events.back().starts_with(tag)) {
    const int sum = std::stoi(events.back().substr(tag.size())) + ms;
    events.back() = tag + std::to_string(sum);
    return;
  }
  events.push_back(tag + std::to_string(ms));
}

std::vector<std::string> EventLog::from(const std::string& first) const {
  const auto at = std::find(events.begin(), events.end(), first);
  return {at, events.end()};
}

bool EventLog::contains(const std::string& event) const {
  return std::find(events.begin(), events.end(), event) != events.end();
}

void RecordingPageWindow::showNotice(std::string_view caption, std::string_view text) {
  log_.add("notice " + std::string(caption) + " | " + std::string(text));
}

void RecordingPageWindow::endPage(int result) {
  log_.add("end " + std::to_string(result));
  if (!result_)
    result_ = result;
}

void RecordingProgressView::showNotice(std::string_view caption, std::string_view text) {
  log_.add("notice " + std::string(caption) + " | " + std::string(text));
}

void RecordingProgressView::endPage(int result) {
  log_.add("end " + std::to_string(result));
}

void RecordingProgressView::setRowText(int row, std::string_view text) {
  auto& shown = rows_[row];
  if (shown == text)
    return;
  shown = text;
  log_.add("row " + std::to_string(row) + " " + shown);
}

void RecordingProgressView::setStatusLine(std::string_view text) {
  if (status_ == text)
    return;
  status_ = text;
  log_.add("status " + status_);
}

void RecordingProgressView::setProgress(int percent) {
  progress_ = percent;
  log_.add("progress " + std::to_string(percent));
}

void RecordingProgressView::setButtonEnabled(FrameButton button, bool enabled) {
  log_.add(std::string(button == FrameButton::Ok ? "ok" : "cancel") +
           (enabled ? " enabled" : " disabled"));
}

void RecordingProgressView::pump() {
  ++pumps_;
  if (onPump)
    onPump();
}

std::string RecordingProgressView::row(int row) const {
  const auto found = rows_.find(row);
  return found == rows_.end() ? "(never set)" : found->second;
}

int RecordingProgressView::repaints() const {
  return static_cast<int>(std::count(log_.events.begin(), log_.events.end(), "repaint"));
}

void RecordingDialog::showNotice(std::string_view caption, std::string_view text) {
  log_.add("dialog notice " + std::string(caption) + " | " + std::string(text));
}

void RecordingDialog::endDialog(int result) {
  ++endCount;
  lastResult = result;
  log_.add("dialog end " + std::to_string(result));
}

Answer result(int value) {
  return Answer{value, {}, {}};
}

Answer press(std::vector<PageInput> inputs, std::vector<int> keysFirst) {
  return Answer{std::move(inputs), std::move(keysFirst), {}};
}

Answer runIt(std::function<void()> before) {
  return Answer{std::vector<PageInput>{}, {}, std::move(before)};
}

Answer ScriptedRunner::next(int step) {
  shownSteps.push_back(step);
  log_.add("show step " + std::to_string(step));
  if (answers.empty()) {
    ADD_FAILURE() << "no answer scripted for step " << step;
    return result(kScriptExhausted);
  }
  Answer answer = std::move(answers.front());
  answers.pop_front();
  if (answer.before)
    answer.before();
  return answer;
}

int ScriptedRunner::run(PlainPage& page) {
  const Answer answer = next(page.step());
  if (const int* raw = std::get_if<int>(&answer.what))
    return *raw;
  RecordingPageWindow window(log_);
  page.onShow();
  for (const int key : answer.keysFirst)
    page.onKeyDown(key, window);
  for (const PageInput input : std::get<std::vector<PageInput>>(answer.what)) {
    if (window.ended())
      break;
    page.onInput(input, window);
  }
  if (!window.ended()) {
    ADD_FAILURE() << "step " << page.step() << " did not end on the inputs scripted";
    return kScriptExhausted;
  }
  return window.result();
}

int ScriptedRunner::run(ProgressPage& page) {
  if (inspect)
    inspect(page);
  const Answer answer = next(page.step());
  if (const int* raw = std::get_if<int>(&answer.what))
    return *raw;
  lastView = std::make_unique<RecordingProgressView>(log_);
  lastView->onPump = onPump;
  return page.run(*lastView);
}

} // namespace quillon::testing
