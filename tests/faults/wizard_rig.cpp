#include "tests/faults/wizard_rig.h"

#include "pages/device_work.h"
#include "pages/wizard_driver.h"
#include "tests/loader/wire_image.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace quillon::testing {
namespace {

struct ShownNotice {
  std::string caption;
  std::size_t textLength = 0;
};

std::optional<ShownNotice> noticeOf(const std::string& event) {
  for (const std::string prefix : {"notice ", "dialog notice "}) {
    const std::size_t bar = event.find(" | ");
    if (event.starts_with(prefix) && bar != std::string::npos)
      return ShownNotice{event.substr(prefix.size(), bar - prefix.size()), event.size() - bar - 3};
  }
  return std::nullopt;
}

} // namespace

bool RunOutcome::reachedFinish() const {
  return std::find(shownSteps.begin(), shownSteps.end(), 11) != shownSteps.end();
}

bool RunOutcome::logHas(const std::string& kind, const std::string& text) const {
  return std::any_of(log.begin(), log.end(), [&](const LogLine& line) {
    return line.kind == kind && line.message.find(text) != std::string::npos;
  });
}

WizardRig::WizardRig(sim::YardmarkOptions options, int firmwareRecords)
    : rig(std::move(options), firmwareRecords) {
  writeOrbfix("Release 4", rig.firmware.string());
  runner.onPump = [this] { onPump(); };
}

std::filesystem::path WizardRig::orbfixPath() const {
  return rig.capture.directory() / "Orbfix.dat";
}

void WizardRig::writeOrbfix(const std::string& releaseTag, const std::string& firmwarePath) {
  rig.capture.writeFile("Orbfix.dat", releaseTag + "\r\n1.2\r\n" + firmwarePath + "\r\n" + kNewGps +
                                          "\r\n30\r\n");
}

void WizardRig::replaceDevice(sim::YardmarkOptions options) {
  rig.device->stop();
  rig.portFaults.bytesWritten = 0; // the new device counts from its start
  options.timeScale = PacedClock::kScale;
  rig.device = std::make_unique<sim::VirtualYardmark>(std::move(options));
  ASSERT_TRUE(rig.device->start(rig.devicePort)) << rig.device->error();
  rig.link.setCandidatePorts({rig.devicePort});
}

void WizardRig::unplugAt(int step, std::string status) {
  unplugStep_ = step;
  unplugStatus_ = std::move(status);
}

void WizardRig::interruptAtProgress(int percent, std::string cause) {
  interruptPercent_ = percent;
  interruption_ = std::move(cause);
}

void WizardRig::plugBackIn() {
  // The device's link follows the new port: the host looks where it looked before.
  ASSERT_TRUE(rig.device->plugIn()) << rig.device->error();
  // What the host wrote to the pulled cable never reached the device.
  rig.portFaults.bytesWritten = 0;
}

void WizardRig::onPump() {
  const std::string& status = runner.lastView->statusLine();
  if (unplugStep_ != 0 && !runner.shownSteps.empty() && runner.shownSteps.back() == unplugStep_ &&
      status == unplugStatus_) {
    unplugStep_ = 0;
    rig.device->unplug();
  }
  if (!interruption_.empty() && runner.shownSteps.back() == 6 &&
      runner.lastView->progress() >= interruptPercent_) {
    deviceWork().logInterruption(interruption_);
    interruption_.clear();
    rig.device->unplug();
  }
}

RunOutcome WizardRig::run(bool descriptive) {
  const auto forward = [] { return press({PageInput::Forward}); };
  runner.answers = {
      press({PageInput::Forward},
            descriptive ? std::vector<int>{kVirtualKeyF9} : std::vector<int>{}),
      forward(),
      forward(),
      forward(),
      forward(),
      runIt(),
      forward(),
      Answer{std::vector<PageInput>{PageInput::Forward}, {}, [this] { powerCycle(); }},
      forward(),
      runIt(),
      forward()};
  runner.shownSteps.clear();
  const auto firstEvent = static_cast<std::ptrdiff_t>(rig.events.events.size());
  const std::size_t firstLine = rig.capture.lines().size();
  WizardDriver driver(dialog, runner, rig.link, rig.pageClock,
                      {orbfixPath().string(), logDirectory.string()});
  driver.run();

  RunOutcome outcome;
  outcome.shownSteps = runner.shownSteps;
  for (auto event = rig.events.events.begin() + firstEvent; event != rig.events.events.end();
       ++event) {
    if (auto notice = noticeOf(*event)) {
      outcome.noticeCaptions.push_back(std::move(notice->caption));
      outcome.longestNotice = std::max(outcome.longestNotice, notice->textLength);
    }
  }
  const std::vector<LogLine> lines = rig.capture.lines();
  for (std::size_t at = firstLine; at < lines.size(); ++at)
    outcome.log.push_back(lines[at]);
  return outcome;
}

bool WizardRig::flashHolds(const std::filesystem::path& firmware) const {
  const std::filesystem::path dump = rig.capture.directory() / "flash-dump.s3";
  if (!rig.device->writeFlashDump(dump.string()))
    return false;
  return test::SrecCatDumpHolds(dump.string(), firmware.string());
}

} // namespace quillon::testing
