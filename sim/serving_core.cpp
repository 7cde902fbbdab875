#include "sim/serving_core.h"

#include "sim/srecord_file.h"

#include <algorithm>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace quillon::sim {

namespace {
// Bytes nobody reads are dropped beyond this, as a UART without a listener loses them.
constexpr std::size_t kMaxPendingOutput = 64 * 1024;
} // namespace

void ServingCore::send(const std::vector<std::uint8_t>& bytes) {
  const SimTime start = now();
  const SimDuration byteTime = options.pace ? ByteTime(lineBaud()) : SimDuration::zero();
  const std::size_t secondWrite = options.prompt ? (bytes.size() + 1) / 2 : 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (outbox.size() >= kMaxPendingOutput)
      return;
    outLineFree = std::max(outLineFree, start) + byteTime;
    outbox.push_back({options.pace ? outLineFree : start, bytes[i], i > 0 && i == secondWrite});
  }
}

void ServingCore::hangUp() {
  if (line)
    line->hangUp();
  inbox.clear();
  outbox.clear();
  if (device)
    device->unplugged();
  scheduler.clear();
}

void ServingCore::wake() const {
  const std::uint64_t one = 1;
  if (wakeFd >= 0) [[maybe_unused]]
    const auto written = ::write(wakeFd, &one, sizeof one);
}

bool ServingCore::begin(std::unique_ptr<SerialLine> opened) {
  std::unique_ptr<FlashModel> firmware;
  if (!options.firmwarePath.empty()) {
    firmware = std::make_unique<FlashModel>();
    if (!ReadSRecordFile(options.firmwarePath, *firmware, error))
      return false;
  }
  std::string faultError;
  FaultSet faults = FaultSet::Parse(options.faults, faultError);
  faults.onStrike(options.onFaultStruck);
  line = std::move(opened);
  hostPath = line->hostPath();
  device = std::make_unique<YardmarkDevice>(options, std::move(faults), std::move(firmware), *this);
  if (options.poweredOn)
    device->powerOn();
  stopping = false;
  wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd < 0) {
    error = "eventfd failed";
    return false;
  }
  thread = std::thread([this] { serve(); });
  return true;
}

void ServingCore::deliverDue(SimTime time) {
  while (!inbox.empty() && inbox.front().ready <= time) {
    const Incoming next = inbox.front();
    inbox.pop_front();
    device->receive(next.byte, next.baud);
  }
}

bool ServingCore::flushDue(SimTime time) {
  if (!line || line->fd() < 0) {
    outbox.clear();
    return false;
  }
  while (!outbox.empty() && outbox.front().due <= time) {
    if (!writeDue(time))
      return true;
  }
  return false;
}

bool ServingCore::writeDue(SimTime time) {
  std::vector<std::uint8_t> due;
  for (const auto& out : outbox) {
    if (out.due > time || (out.startsWrite && !due.empty()))
      break;
    due.push_back(out.byte);
  }
  const auto written = line->writeSome(due.data(), due.size());
  if (written > 0)
    outbox.erase(outbox.begin(), outbox.begin() + written);
  return written == static_cast<ssize_t>(due.size());
}

void ServingCore::readLine() {
  std::uint8_t buffer[4096];
  const auto count = line->readSome(buffer, sizeof buffer);
  if (count <= 0) {
    if (count == 0 || (errno != EAGAIN && errno != EINTR))
      hangUp(); // a real port that went away: the cable is out
    return;
  }
  bytesFromHost += static_cast<std::uint64_t>(count);
  const int baud = line->baud();
  const SimTime arrived = now();
  const SimDuration byteTime = options.pace ? ByteTime(baud) : SimDuration::zero();
  for (ssize_t i = 0; i < count; ++i) {
    inLineFree = std::max(inLineFree, arrived) + byteTime;
    inbox.push_back({options.pace ? inLineFree : arrived, buffer[i], baud});
  }
}

std::optional<SimTime> ServingCore::nextEvent(bool writeBlocked) const {
  std::optional<SimTime> next = scheduler.next();
  auto consider = [&next](SimTime when) {
    if (!next || when < *next)
      next = when;
  };
  if (!inbox.empty())
    consider(inbox.front().ready);
  if (!outbox.empty() && !writeBlocked)
    consider(outbox.front().due);
  return next;
}

void ServingCore::serve() {
  // A real boot loader has a processor of its own and answers the moment a frame is in. On a
  // busy machine this thread would wait for a processor first, and answer late; a prompt
  // device asks for the lowest real-time priority instead (where the system refuses, it runs
  // as before). It sleeps in ppoll between events, so it takes no time from anyone else.
  if (options.prompt) {
    const sched_param lowestRealTime{sched_get_priority_min(SCHED_FIFO)};
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &lowestRealTime);
  }
  std::unique_lock lock(mutex);
  while (!stopping) {
    if (unplugRequested) {
      unplugRequested = false;
      hangUp();
    }
    deliverDue(now());
    scheduler.runDue(now());
    const bool writeBlocked = flushDue(now());

    pollfd fds[2] = {{wakeFd, POLLIN, 0}, {line ? line->fd() : -1, POLLIN, 0}};
    if (writeBlocked)
      fds[1].events |= POLLOUT;
    timespec wait{};
    timespec* timeout = nullptr;
    if (const auto next = nextEvent(writeBlocked)) {
      const auto left = std::max(SimDuration::zero(), *next - now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      wait.tv_sec = static_cast<time_t>(ns / 1000000000);
      wait.tv_nsec = static_cast<long>(ns % 1000000000);
      timeout = &wait;
    }
    const nfds_t watched = fds[1].fd >= 0 ? 2 : 1;
    lock.unlock();
    const int ready = ppoll(fds, watched, timeout, nullptr);
    lock.lock();
    if (ready <= 0)
      continue;
    if (fds[0].revents & POLLIN) {
      std::uint64_t count = 0;
      [[maybe_unused]] const auto drained = ::read(wakeFd, &count, sizeof count);
    }
    if (watched == 2 && line && line->fd() == fds[1].fd &&
        (fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
      readLine();
  }
}

void ServingCore::end() {
  {
    std::lock_guard lock(mutex);
    stopping = true;
    wake();
  }
  if (thread.joinable())
    thread.join();
  std::lock_guard lock(mutex);
  line.reset();
  if (wakeFd >= 0)
    close(wakeFd);
  wakeFd = -1;
}

bool ServingCore::plugIn() {
  if (unplugRequested) {
    unplugRequested = false;
    hangUp();
  }
  if (!device || device->state() != DeviceState::Unplugged) {
    error = "the cable is not pulled";
    return false;
  }
  if (!onPty) {
    error = "a real serial port's cable is plugged in by hand";
    return false;
  }
  auto opened = SerialLine::OpenPty(linkPath, error);
  if (!opened)
    return false;
  line = std::move(opened);
  hostPath = line->hostPath();
  inLineFree = outLineFree = SimTime{};
  bytesFromHost = 0;
  device->pluggedIn();
  wake();
  return true;
}

void ServingCore::requestUnplug() {
  if (serving())
    unplugRequested = true;
  else
    hangUp();
  wake();
}

} // namespace quillon::sim
