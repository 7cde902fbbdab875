// Discovery: open every candidate port, then hello each open one in turn until the device
// answers, for up to ten passes. The port that answered stays the link's port for the run.

#include "link/device_link.h"
#include "link/device_protocol.h"

#include <cstring>

namespace quillon {

namespace dp = device_protocol;

namespace {

struct Candidate {
  std::string path;
  std::unique_ptr<SerialPort> port;
};

} // namespace

StatusCode DeviceLink::FindDevice() {
  mode_ = ModeIdle;
  // A port kept from an earlier scan would be held against its own open below and could never
  // answer again; give it up first so every device can be found afresh.
  ClosePort();

  // Each list bounds itself: Linux's at 32 devices, Windows' at the 32 ports of its table and
  // the further ones Windows lists as present.
  const std::vector<std::string> paths = candidates_ ? *candidates_ : ListCandidatePorts();

  // Open phase: every port that opens stays open until the scan ends.
  std::vector<Candidate> slots;
  report(KV7INVALIDHANDLEVALUE); // stays the result when nothing opens
  for (const auto& path : paths) {
    // portName must hold the path whole, with its zero byte: a longer one cannot be kept.
    if (path.size() >= portName_.size()) {
      report(KV7INVALIDHANDLEVALUE);
      continue;
    }
    if (auto opened = OpenPort(path))
      slots.push_back({path, std::move(opened)});
  }

  // Probe phase: one hello per open port per pass. The scan set the link idle, where a hello
  // is allowed; the port that answers becomes the link's port.
  for (int pass = 1; pass <= dp::kDiscoveryPasses; ++pass) {
    for (auto& slot : slots) {
      if (!slot.port)
        continue;
      purge(*slot.port);
      if (hello(*slot.port) == KV7SUCCESS) {
        port_ = std::move(slot.port);
        purgePort();
        portFound_ = true;
        std::memcpy(portName_.data(), slot.path.c_str(), slot.path.size() + 1);
        slots.clear(); // closes every other port the scan opened, each once
        return report(KV7SUCCESS);
      }
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
