#pragma once

#include <QObject>

class QSocketNotifier;

namespace quillon {

// SIGTERM, SIGINT and SIGHUP while the wizard runs. The handler only writes the signal's
// number into a pipe; the user-interface thread reads it the next time it looks at its events
// (every wait of a device step does), writes the log's line for a device step under way, and
// then ends the process by that same signal, so whoever sent it sees the ending a signal
// gives. The port is left to the system, as a signal has always left it. A thread that is not
// back at its events within kGraceSeconds is ended all the same, and a second signal of the
// same kind ends the process at once.
class InterruptionWatch final : public QObject {
  Q_OBJECT

public:
  static constexpr unsigned kGraceSeconds = 3;

  InterruptionWatch();
  ~InterruptionWatch() override;
  InterruptionWatch(const InterruptionWatch&) = delete;
  InterruptionWatch& operator=(const InterruptionWatch&) = delete;

private:
  void onSignal();

  QSocketNotifier* notifier_ = nullptr;
};

} // namespace quillon
