// Discovery: open every candidate port, then hello each open one in turn until the device
// answers, for up to ten passes. The port that answered stays the link's port for the run.

#include "link/device_link.h"
#include "link/device_protocol.h"
#include "link/port_list.h"

#include <cstring>

namespace quillon {

namespace dp = device_protocol;

namespace {

using Outcome = PortTrial::Outcome;

// What a hello that was not answered tells about its port. A wrong answer is remembered over
// later silence: something on that port talks, just not as a Yardmark.
void NoteUnanswered(PortTrial& trial, StatusCode said, const PortResult& portFailure, bool gone) {
  if (trial.outcome == Outcome::NotAYardmark || trial.outcome == Outcome::Failed)
    return;
  if (gone) {
    trial.outcome = Outcome::Failed;
    trial.failure = portFailure && portFailure->error == PortError::Gone
                        ? portFailure
                        : PortFailure{PortError::Gone, 0};
  } else if (said == KV7INVALIDRESPONSE) {
    trial.outcome = Outcome::NotAYardmark;
  } else if (said != KV7NORESPONSE) {
    trial.outcome = Outcome::Failed; // the hello could not be written
    trial.failure = portFailure;
  }
}

} // namespace

std::vector<DeviceLink::OpenCandidate>
DeviceLink::openCandidates(const std::vector<std::string>& paths) {
  std::vector<OpenCandidate> opened;
  report(KV7INVALIDHANDLEVALUE); // stays the result when nothing opens
  for (const auto& path : paths) {
    PortTrial& trial = portsTried_.emplace_back();
    trial.path = path;
    // portName must hold the path whole, with its zero byte: a longer one cannot be kept.
    if (path.size() >= portName_.size()) {
      trial.outcome = Outcome::NameTooLong;
      report(KV7INVALIDHANDLEVALUE);
      continue;
    }
    if (auto port = OpenPort(path)) {
      opened.push_back({std::move(port), portsTried_.size() - 1});
      continue;
    }
    trial.outcome = lastStatus_ == KV7SETCOMSTATEERROR ? Outcome::LineRefused : Outcome::NotOpened;
    trial.failure = lastPortFailure_;
  }
  return opened;
}

StatusCode DeviceLink::FindDevice() {
  mode_ = ModeIdle;
  // A port kept from an earlier scan would be held against its own open below and could never
  // answer again; give it up first so every device can be found afresh.
  ClosePort();
  portsTried_.clear();

  // Open phase: every port that opens stays open until the scan ends. Each list bounds itself:
  // Linux's at 32 devices, Windows' at the 32 ports of its table and the further ones Windows
  // lists as present.
  std::vector<OpenCandidate> slots =
      openCandidates(candidates_ ? *candidates_ : ListCandidatePorts());

  // Probe phase: one hello per open port per pass. The scan set the link idle, where a hello
  // is allowed; the port that answers becomes the link's port.
  for (int pass = 1; pass <= dp::kDiscoveryPasses; ++pass) {
    for (auto& slot : slots) {
      if (!slot.port)
        continue;
      purge(*slot.port);
      PortTrial& trial = portsTried_[slot.trial];
      ++trial.greetings;
      lastPortFailure_.reset();
      const StatusCode said = hello(*slot.port);
      if (said == KV7SUCCESS) {
        trial.outcome = Outcome::Answered;
        port_ = std::move(slot.port);
        purgePort();
        portFound_ = true;
        std::memcpy(portName_.data(), trial.path.c_str(), trial.path.size() + 1);
        slots.clear(); // closes every other port the scan opened, each once
        return report(KV7SUCCESS);
      }
      NoteUnanswered(trial, said, lastPortFailure_, slot.port->hasGone());
      report(KV7NORESPONSE);
      if (pass == dp::kDiscoveryPasses) {
        purge(*slot.port);
        slot.port->close();
        slot.port.reset();
        report(KV7NOTFOUND);
      }
    }
  }
  return lastStatus_;
}

StatusCode DeviceLink::EnterCommandMode() {
  purgePort();
  // The hello is allowed after a scan began (idle), and in any later mode once the device has
  // been found; a link that never scanned refuses it.
  const bool allowed = mode_ == ModeIdle || (mode_ != ModeInitial && portFound_);
  if (!allowed)
    return report(portFound_ ? KV7INCORRECTMODE : KV7NOTFOUND);
  if (!port_)
    return report(KV7INVALIDHANDLEVALUE);
  return hello(*port_);
}

StatusCode DeviceLink::hello(SerialPort& on) {
  if (const StatusCode sent = sendText(on, dp::kHello); sent != KV7SUCCESS)
    return sent;
  if (const StatusCode replied = expectReply(on, dp::kHelloReply); replied != KV7SUCCESS)
    return replied;
  mode_ = ModeCommand;
  return report(KV7SUCCESS);
}

} // namespace quillon
