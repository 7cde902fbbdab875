#include "sim/virtual_yardmark.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

#include "sim/options_check.h"
#include "sim/serial_line.h"
#include "sim/srecord_file.h"
#include "sim/yardmark_device.h"

namespace quillon::sim {

// The serving core: one thread polls the line, feeds the device the bytes it receives (after
// their line time, when pacing), runs the device's timed actions and sends what it answers.
// Everything below is guarded by `mutex`; the thread lets go of it only while it waits.
struct VirtualYardmark::Impl final : DevicePort {
  explicit Impl(YardmarkOptions o) : options(std::move(o)) {}

  // DevicePort, called on the serving thread (or with the mutex held).
  void send(const std::vector<std::uint8_t>& bytes) override;
  Scheduler::Id after(std::chrono::milliseconds delay, std::function<void()> action) override {
    return scheduler.at(now() + scaled(delay), std::move(action));
  }
  Scheduler::Id at(SimTime when, std::function<void()> action) override {
    return scheduler.at(when, std::move(action));
  }
  void cancel(Scheduler::Id id) override { scheduler.cancel(id); }
  void cancelAll() override { scheduler.clear(); }
  SimTime now() const override { return SimClock::now(); }
  SimDuration scaled(std::chrono::milliseconds delay) const override {
    return Scaled(delay, options.timeScale);
  }
  int lineBaud() const override { return line ? line->baud() : 0; }
  void listenAt(int baud) override {
    if (line)
      line->listenAt(baud);
  }
  void hangUp() override;

  bool begin(std::unique_ptr<SerialLine> opened);
  void serve();
  void deliverDue(SimTime time);
  // Writes what is due; true when bytes are due but the line cannot take them now.
  bool flushDue(SimTime time);
  void readLine();
  void wake() const;
  std::optional<SimTime> nextEvent(bool writeBlocked) const;

  YardmarkOptions options;
  mutable std::mutex mutex;
  std::unique_ptr<SerialLine> line;
  std::string hostPath;
  std::string error;
  Scheduler scheduler;
  std::unique_ptr<YardmarkDevice> device;

  struct Incoming {
    SimTime ready;
    std::uint8_t byte;
    int baud;
  };
  std::deque<Incoming> inbox;
  std::deque<std::pair<SimTime, std::uint8_t>> outbox;
  SimTime inLineFree{};
  SimTime outLineFree{};

  std::thread thread;
  int wakeFd = -1;
  bool stopping = false;
  bool unplugRequested = false;
};

namespace {
// Bytes nobody reads are dropped beyond this, as a UART without a listener loses them.
constexpr std::size_t kMaxPendingOutput = 64 * 1024;
} // namespace

void VirtualYardmark::Impl::send(const std::vector<std::uint8_t>& bytes) {
  const SimTime start = now();
  const SimDuration byteTime = options.pace ? ByteTime(lineBaud()) : SimDuration::zero();
  for (const auto byte : bytes) {
    if (outbox.size() >= kMaxPendingOutput)
      return;
    outLineFree = std::max(outLineFree, start) + byteTime;
    outbox.emplace_back(options.pace ? outLineFree : start, byte);
  }
}

void VirtualYardmark::Impl::hangUp() {
  if (line)
    line->hangUp();
  inbox.clear();
  outbox.clear();
  if (device)
    device->unplugged();
  scheduler.clear();
}

void VirtualYardmark::Impl::wake() const {
  const std::uint64_t one = 1;
  if (wakeFd >= 0)
    [[maybe_unused]] const auto written = ::write(wakeFd, &one, sizeof one);
}

bool VirtualYardmark::Impl::begin(std::unique_ptr<SerialLine> opened) {
  std::unique_ptr<FlashModel> firmware;
  if (!options.firmwarePath.empty()) {
    firmware = std::make_unique<FlashModel>();
    if (!ReadSRecordFile(options.firmwarePath, *firmware, error))
      return false;
  }
  std::string faultError;
  FaultSet faults = FaultSet::Parse(options.faults, faultError);
  line = std::move(opened);
  hostPath = line->hostPath();
  device = std::make_unique<YardmarkDevice>(options, std::move(faults), std::move(firmware), *this);
  if (options.poweredOn)
    device->powerOn();
  wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd < 0) {
    error = "eventfd failed";
    return false;
  }
  thread = std::thread([this] { serve(); });
  return true;
}

void VirtualYardmark::Impl::deliverDue(SimTime time) {
  while (!inbox.empty() && inbox.front().ready <= time) {
    const Incoming next = inbox.front();
    inbox.pop_front();
    device->receive(next.byte, next.baud);
  }
}

bool VirtualYardmark::Impl::flushDue(SimTime time) {
  if (!line || line->fd() < 0) {
    outbox.clear();
    return false;
  }
  std::vector<std::uint8_t> due;
  for (const auto& [when, byte] : outbox) {
    if (when > time)
      break;
    due.push_back(byte);
  }
  if (due.empty())
    return false;
  const auto written = line->writeSome(due.data(), due.size());
  if (written > 0)
    outbox.erase(outbox.begin(), outbox.begin() + written);
  return written < static_cast<ssize_t>(due.size());
}

void VirtualYardmark::Impl::readLine() {
  std::uint8_t buffer[4096];
  const auto count = line->readSome(buffer, sizeof buffer);
  if (count <= 0) {
    if (count == 0 || (errno != EAGAIN && errno != EINTR))
      hangUp(); // a real port that went away: the cable is out
    return;
  }
  const int baud = line->baud();
  const SimTime arrived = now();
  const SimDuration byteTime = options.pace ? ByteTime(baud) : SimDuration::zero();
  for (ssize_t i = 0; i < count; ++i) {
    inLineFree = std::max(inLineFree, arrived) + byteTime;
    inbox.push_back({options.pace ? inLineFree : arrived, buffer[i], baud});
  }
}

std::optional<SimTime> VirtualYardmark::Impl::nextEvent(bool writeBlocked) const {
  std::optional<SimTime> next = scheduler.next();
  auto consider = [&next](SimTime when) {
    if (!next || when < *next)
      next = when;
  };
  if (!inbox.empty())
    consider(inbox.front().ready);
  if (!outbox.empty() && !writeBlocked)
    consider(outbox.front().first);
  return next;
}

void VirtualYardmark::Impl::serve() {
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

VirtualYardmark::VirtualYardmark(YardmarkOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

VirtualYardmark::~VirtualYardmark() { stop(); }

std::string VirtualYardmark::Validate(const YardmarkOptions& options) {
  return CheckOptions(options);
}

std::string VirtualYardmark::FaultHelp() { return DescribeFaults(); }

bool VirtualYardmark::start(const std::string& linkPath) {
  if (impl_->thread.joinable()) {
    impl_->error = "already serving";
    return false;
  }
  if (auto problem = Validate(impl_->options); !problem.empty()) {
    impl_->error = problem;
    return false;
  }
  auto line = SerialLine::OpenPty(linkPath, impl_->error);
  return line && impl_->begin(std::move(line));
}

bool VirtualYardmark::startOnPort(const std::string& devicePath) {
  if (impl_->thread.joinable()) {
    impl_->error = "already serving";
    return false;
  }
  if (auto problem = Validate(impl_->options); !problem.empty()) {
    impl_->error = problem;
    return false;
  }
  auto line = SerialLine::OpenPort(devicePath, impl_->error);
  return line && impl_->begin(std::move(line));
}

void VirtualYardmark::stop() {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->wake();
  if (impl_->thread.joinable())
    impl_->thread.join();
  std::lock_guard lock(impl_->mutex);
  impl_->line.reset();
  if (impl_->wakeFd >= 0)
    close(impl_->wakeFd);
  impl_->wakeFd = -1;
  if (impl_->device && !impl_->options.flashDumpPath.empty()) {
    WriteS3File(impl_->options.flashDumpPath, impl_->device->flash());
    impl_->options.flashDumpPath.clear(); // once
  }
}

const std::string& VirtualYardmark::slavePath() const { return impl_->hostPath; }
const std::string& VirtualYardmark::error() const { return impl_->error; }

void VirtualYardmark::powerOff() {
  std::lock_guard lock(impl_->mutex);
  if (impl_->device)
    impl_->device->powerOff();
  impl_->wake();
}

void VirtualYardmark::powerOn() {
  std::lock_guard lock(impl_->mutex);
  if (impl_->device)
    impl_->device->powerOn();
  impl_->wake();
}

void VirtualYardmark::unplug() {
  std::lock_guard lock(impl_->mutex);
  if (impl_->thread.joinable())
    impl_->unplugRequested = true; // the serving thread closes the line between two polls
  else
    impl_->hangUp();
  impl_->wake();
}

DeviceState VirtualYardmark::state() const {
  std::lock_guard lock(impl_->mutex);
  if (impl_->unplugRequested)
    return DeviceState::Unplugged;
  return impl_->device ? impl_->device->state() : DeviceState::Off;
}

std::uint32_t VirtualYardmark::programmedBytes() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->device ? impl_->device->bootLoader().programmedBytes() : 0;
}

int VirtualYardmark::framesReceived() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->device ? impl_->device->bootLoader().framesAccepted() : 0;
}

bool VirtualYardmark::flashEquals(
    const std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>& image) const {
  FlashModel expected;
  for (const auto& [address, bytes] : image)
    expected.write(address, bytes.data(), bytes.size());
  std::lock_guard lock(impl_->mutex);
  return impl_->device && impl_->device->flash() == expected;
}

bool VirtualYardmark::writeFlashDump(const std::string& path) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->device && WriteS3File(path, impl_->device->flash());
}

int VirtualYardmark::lineBaud() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->lineBaud();
}

} // namespace quillon::sim
