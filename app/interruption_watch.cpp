#include "app/interruption_watch.h"

#include "pages/device_work.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quillon {
namespace {

constexpr std::array<int, 3> kWatched{SIGTERM, SIGINT, SIGHUP};

int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t firstSignal = 0;

// What the log calls each signal: its name, and what usually sends it.
const char* causeOf(int signo) {
  switch (signo) {
  case SIGINT:
    return "SIGINT (Ctrl+C)";
  case SIGHUP:
    return "SIGHUP (its terminal closed)";
  default:
    return "SIGTERM";
  }
}

// Only async-signal-safe calls: the number goes into the pipe, and the grace time starts.
void onWatchedSignal(int signo) {
  const int saved = errno;
  if (firstSignal == 0) {
    firstSignal = signo;
    ::alarm(InterruptionWatch::kGraceSeconds);
  }
  const auto byte = static_cast<unsigned char>(signo);
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
  errno = saved;
}

// The user-interface thread did not get back to its events in time: the first signal, whose
// handler is gone by now (SA_RESETHAND), ends the process without the log's line.
void onGraceOver(int) {
  ::raise(firstSignal);
}

void install(int signo, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  ::sigaction(signo, &action, nullptr);
}

} // namespace

InterruptionWatch::InterruptionWatch() {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
    return; // without the pipe the signals keep their default: the process ends as before
  notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &InterruptionWatch::onSignal);
  install(SIGALRM, onGraceOver, 0);
  for (const int signo : kWatched)
    install(signo, onWatchedSignal, static_cast<int>(SA_RESETHAND | SA_RESTART));
}

InterruptionWatch::~InterruptionWatch() {
  if (notifier_ == nullptr)
    return;
  for (const int signo : kWatched)
    install(signo, SIG_DFL, 0);
  install(SIGALRM, SIG_DFL, 0);
  delete notifier_;
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

void InterruptionWatch::onSignal() {
  unsigned char byte = 0;
  if (::read(signalPipe[0], &byte, 1) != 1)
    return;
  const int signo = byte;
  deviceWork().logInterruption(causeOf(signo));
  install(signo, SIG_DFL, 0);
  ::raise(signo);
}

} // namespace quillon
