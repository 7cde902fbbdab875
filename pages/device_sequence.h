#pragma once

#include "base/clock.h"
#include "pages/device_step.h"
#include "pages/device_work.h"
#include "pages/failure_notice.h"
#include "pages/progress_frame.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

class DeviceLink;

// Where a device page's sequence goes once a step is over.
enum class StepOutcome {
  Next,   // on to the next step of the run order
  Failed, // the step failed and has said so: on to the sequence's closing step
  Ended,  // the page has ended; nothing more runs
};

// One step of a device page's run order: what the Yardmark is going through while it runs
// (what a stop of the program would leave it with), and what the step does.
template <class Sequence> struct SequenceStep {
  DeviceWork work;
  StepOutcome (Sequence::*run)();
};

// Runs `order` front to back until a step fails or ends the page; after a failure the closing
// step `closing` ends the page.
template <class Sequence, std::size_t N>
void runInOrder(Sequence& sequence, const std::array<SequenceStep<Sequence>, N>& order,
                void (Sequence::*closing)()) {
  for (const SequenceStep<Sequence>& step : order) {
    deviceWork().enter(step.work);
    switch ((sequence.*step.run)()) {
    case StepOutcome::Next:
      continue;
    case StepOutcome::Failed:
      return (sequence.*closing)();
    case StepOutcome::Ended:
      return;
    }
  }
}

// What the two device pages' sequences share: the page's frame, the device link and the
// clock, the pauses around a device step, and how a failed step is logged and shown.
class DeviceSequence {
protected:
  // `logModule` is the page's module name in the log: its lines have always carried it.
  DeviceSequence(const char* logModule, DeviceLink& link, Clock& clock, ProgressView& view,
                 int rowCount)
      : logModule_(logModule), link_(link), clock_(clock), frame_(view, rowCount) {}

  void wait(std::chrono::milliseconds pause) { clock_.sleepMs(static_cast<int>(pause.count())); }
  // The row to "WORKING" and the status line, shown together.
  void working(int row, std::string_view status) {
    frame_.setRow(row, ProgressFrame::kWorking);
    frame_.setStatus(status);
  }
  // What the device link says of its last operation, for a failure's log line.
  std::string statusText() const;
  // Writes the failure's log line (an Error line, or Info where the device is fine) with
  // `detail` in it, and shows the failure on the page.
  void report(const StepFailure& failure, std::string_view detail);

  const char* logModule_;
  DeviceLink& link_;
  Clock& clock_;
  ProgressFrame frame_;
};

} // namespace quillon
