#pragma once

#include "sim/device_port.h"
#include "sim/scheduler.h"
#include "sim/serial_line.h"
#include "sim/virtual_yardmark.h"
#include "sim/yardmark_device.h"

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace quillon::sim {

// The serving core: one thread polls the line, feeds the device the bytes it receives (after
// their line time, when pacing), runs the device's timed actions and sends what it answers.
// Everything below is guarded by `mutex`; the thread lets go of it only while it waits.
struct ServingCore final : DevicePort {
  explicit ServingCore(YardmarkOptions o) : options(std::move(o)) {}

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
  bool hostTookAll() const override {
    return outbox.empty() && (!line || line->unreadByHost() == 0);
  }
  void listenAt(int baud) override {
    if (line)
      line->listenAt(baud);
  }
  void hangUp() override;
  void losePower() override {
    if (device)
      device->powerOff();
  }

  // Loads the firmware file, builds the device on `opened` and starts the serving thread.
  bool begin(std::unique_ptr<SerialLine> opened);
  // Ends the serving thread and closes the line; the device stays for inspection.
  void end();
  bool serving() const { return thread.joinable(); }
  // Pulls the cable from another thread: the serving thread closes the line between polls.
  // Call with the mutex held.
  void requestUnplug();
  // Plugs a pulled cable back in: a new pseudo-terminal, under the same link when there is
  // one. Call with the mutex held. False, with `error`, when the cable is in, the device
  // serves a real port, or no pseudo-terminal can be had.
  bool plugIn();
  void serve();
  void deliverDue(SimTime time);
  // Writes what is due; true when bytes are due but the line cannot take them now.
  bool flushDue(SimTime time);
  // One write of the due bytes up to the next that starts a write of its own; false when the
  // line took fewer than that.
  bool writeDue(SimTime time);
  void readLine();
  void wake() const;
  std::optional<SimTime> nextEvent(bool writeBlocked) const;

  YardmarkOptions options;
  mutable std::mutex mutex;
  std::unique_ptr<SerialLine> line;
  std::string hostPath;
  std::string linkPath; // the symbolic link the host opens, when serving a pseudo-terminal
  bool onPty = false;
  std::string error;
  Scheduler scheduler;
  std::unique_ptr<YardmarkDevice> device;

  struct Incoming {
    SimTime ready;
    std::uint8_t byte;
    int baud;
  };
  std::deque<Incoming> inbox;
  struct Outgoing {
    SimTime due;
    std::uint8_t byte;
    bool startsWrite; // a prompt device's answer leaves in two writes
  };
  std::deque<Outgoing> outbox;
  SimTime inLineFree{};
  std::uint64_t bytesFromHost = 0; // read off the line since start or the last plug-in
  SimTime outLineFree{};

  std::thread thread;
  int wakeFd = -1;
  bool stopping = false;
  bool unplugRequested = false;
};

} // namespace quillon::sim
