#include "sim/virtual_yardmark.h"

#include "sim/options_check.h"
#include "sim/serving_core.h"
#include "sim/srecord_file.h"

namespace quillon::sim {

struct VirtualYardmark::Impl {
  explicit Impl(YardmarkOptions options) : core(std::move(options)) {}

  template <typename Open> bool startWith(Open open) {
    if (core.serving()) {
      core.error = "already serving";
      return false;
    }
    if (auto problem = CheckOptions(core.options); !problem.empty()) {
      core.error = problem;
      return false;
    }
    auto line = open(core.error);
    return line && core.begin(std::move(line));
  }

  ServingCore core;
};

VirtualYardmark::VirtualYardmark(YardmarkOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

VirtualYardmark::~VirtualYardmark() {
  stop();
}

std::string VirtualYardmark::Validate(const YardmarkOptions& options) {
  return CheckOptions(options);
}

std::string VirtualYardmark::FaultHelp() {
  return DescribeFaults();
}

bool VirtualYardmark::start(const std::string& linkPath) {
  return impl_->startWith([&](std::string& error) {
    impl_->core.linkPath = linkPath;
    impl_->core.onPty = true;
    return SerialLine::OpenPty(linkPath, error);
  });
}

bool VirtualYardmark::startOnPort(const std::string& devicePath) {
  return impl_->startWith(
      [&](std::string& error) { return SerialLine::OpenPort(devicePath, error); });
}

void VirtualYardmark::stop() {
  auto& core = impl_->core;
  core.end();
  std::lock_guard lock(core.mutex);
  if (core.device && !core.options.flashDumpPath.empty()) {
    WriteS3File(core.options.flashDumpPath, core.device->flash());
    core.options.flashDumpPath.clear(); // written once, at the first stop
  }
}

const std::string& VirtualYardmark::slavePath() const {
  return impl_->core.hostPath;
}
const std::string& VirtualYardmark::error() const {
  return impl_->core.error;
}

void VirtualYardmark::powerOff() {
  auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  if (core.device)
    core.device->powerOff();
  core.wake();
}

void VirtualYardmark::powerOn() {
  auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  if (core.device)
    core.device->powerOn();
  core.wake();
}

void VirtualYardmark::unplug() {
  auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  core.requestUnplug();
}

bool VirtualYardmark::plugIn() {
  auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  return core.plugIn();
}

DeviceState VirtualYardmark::state() const {
  const auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  if (core.unplugRequested)
    return DeviceState::Unplugged;
  return core.device ? core.device->state() : DeviceState::Off;
}

std::uint32_t VirtualYardmark::programmedBytes() const {
  const auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  return core.device ? core.device->bootLoader().programmedBytes() : 0;
}

int VirtualYardmark::framesReceived() const {
  const auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  return core.device ? core.device->bootLoader().framesAccepted() : 0;
}

bool VirtualYardmark::flashEquals(
    const std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>& image) const {
  FlashModel expected;
  for (const auto& [address, bytes] : image)
    expected.write(address, bytes.data(), bytes.size());
  const auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  return core.device && core.device->flash() == expected;
}

bool VirtualYardmark::writeFlashDump(const std::string& path) const {
  const auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  return core.device && WriteS3File(path, core.device->flash());
}

std::vector<std::string> VirtualYardmark::struckFaults() const {
  const auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  return core.device ? core.device->faults().struck() : std::vector<std::string>{};
}

bool VirtualYardmark::caughtUp(std::uint64_t hostSent) const {
  const auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  const SimTime now = core.now();
  const auto next = core.scheduler.next();
  return core.bytesFromHost >= hostSent && core.inbox.empty() && (!next || *next > now) &&
         (core.outbox.empty() || core.outbox.front().due > now);
}

int VirtualYardmark::lineBaud() const {
  const auto& core = impl_->core;
  std::lock_guard lock(core.mutex);
  return core.lineBaud();
}

} // namespace quillon::sim
