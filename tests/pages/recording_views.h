#pragma once

#include "base/clock.h"
#include "pages/device_work.h"
#include "pages/page_view.h"
#include "pages/wizard_page.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quillon::testing {

// One list of what a user would have seen, in order: window calls, and the waits of the
// clocks that write into it. Row and status texts are recorded when the window's text
// changes, which is what the user sees; repeated transfers of unchanged texts leave no trace.
struct EventLog {
  std::vector<std::string> events;
  void add(std::string event) { events.push_back(std::move(event)); }
  // Consecutive waits of one clock are one wait as far as the user can tell.
  void addWait(const std::string& prefix, int ms);
  // Events from the first one equal to `from` onwards (empty when there is none).
  std::vector<std::string> from(const std::string& first) const;
  bool contains(const std::string& event) const;
};

// The computer's sleep and shutdown hold, as the pages take and let go of it: "power held",
// "power let go". Installed as the process's hold for its lifetime.
class RecordingPowerHold final : public PowerHold {
public:
  explicit RecordingPowerHold(EventLog& log) : log_(log) { deviceWork().setPowerHold(this); }
  ~RecordingPowerHold() override { deviceWork().setPowerHold(nullptr); }
  RecordingPowerHold(const RecordingPowerHold&) = delete;
  RecordingPowerHold& operator=(const RecordingPowerHold&) = delete;
  bool take(std::string& /*why*/) override {
    log_.add("power held");
    return true;
  }
  void release() override { log_.add("power let go"); }

private:
  EventLog& log_;
};

// A Clock decorator that writes its waits into an EventLog ("wait 2000", "device wait 300").
class RecordingClock final : public Clock {
public:
  RecordingClock(Clock& inner, EventLog& log, std::string prefix)
      : inner_(inner), log_(log), prefix_(std::move(prefix)) {}
  void sleepMs(int ms) override {
    log_.addWait(prefix_, ms);
    inner_.sleepMs(ms);
  }
  std::int64_t wholeSeconds() override { return inner_.wholeSeconds(); }

private:
  Clock& inner_;
  EventLog& log_;
  std::string prefix_;
};

class RecordingPageWindow final : public PageWindow {
public:
  explicit RecordingPageWindow(EventLog& log) : log_(log) {}
  void showNotice(std::string_view caption, std::string_view text) override;
  void endPage(int result) override;
  bool ended() const { return result_.has_value(); }
  int result() const { return result_.value_or(0); }

private:
  EventLog& log_;
  std::optional<int> result_;
};

class RecordingProgressView final : public ProgressView {
public:
  explicit RecordingProgressView(EventLog& log) : log_(log) {}
  void showNotice(std::string_view caption, std::string_view text) override;
  void endPage(int result) override;
  void present() override { log_.add("present"); }
  void setRowText(int row, std::string_view text) override;
  void setStatusLine(std::string_view text) override;
  void setProgress(int percent) override;
  void repaint() override { log_.add("repaint"); }
  void setButtonEnabled(FrameButton button, bool enabled) override;
  void pump() override;

  // What the window shows now.
  std::string row(int row) const;
  const std::string& statusLine() const { return status_; }
  int progress() const { return progress_; }
  int pumps() const { return pumps_; }
  int repaints() const;
  // Called on every pump: tests use it to let time pass or pull a cable.
  std::function<void()> onPump;

private:
  EventLog& log_;
  std::map<int, std::string> rows_;
  std::string status_ = "(never set)";
  int progress_ = -1;
  int pumps_ = 0;
};

class RecordingDialog final : public MainDialogView {
public:
  explicit RecordingDialog(EventLog& log) : log_(log) {}
  void showNotice(std::string_view caption, std::string_view text) override;
  void endDialog(int result) override;
  int endCount = 0;
  int lastResult = 0;

private:
  EventLog& log_;
};

// Plays the user: each showing of a page takes the next answer. An answer is either the raw
// modal result the page's window returns (-1, 3, anything), or the buttons and keys the user
// presses on a real page.
struct Answer {
  std::variant<int, std::vector<PageInput>> what;
  std::vector<int> keysFirst;   // key-downs before the buttons (F9 on step 1)
  std::function<void()> before; // something the user does first (switch the Yardmark off...)
};
Answer result(int value);
Answer press(std::vector<PageInput> inputs, std::vector<int> keysFirst = {});
// For a progress page: run it on a recording view.
Answer runIt(std::function<void()> before = {});

class ScriptedRunner final : public PageRunner {
public:
  explicit ScriptedRunner(EventLog& log) : log_(log) {}
  int run(PlainPage& page) override;
  int run(ProgressPage& page) override;

  std::deque<Answer> answers;
  std::vector<int> shownSteps;
  // The view the last progress page ran on.
  std::unique_ptr<RecordingProgressView> lastView;
  // Installs on every progress view.
  std::function<void()> onPump;
  // Sees each progress page as the driver hands it over, before it runs.
  std::function<void(ProgressPage&)> inspect;

  // Returned when the script has run dry, so that a wrong walk ends instead of looping.
  static constexpr int kScriptExhausted = 4242;

private:
  Answer next(int step);
  EventLog& log_;
};

} // namespace quillon::testing
