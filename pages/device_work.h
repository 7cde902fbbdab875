#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace quillon {

// What the device pages are doing to the Yardmark, told to what lies around the program: the
// platform's hold that keeps the computer from sleeping or shutting down while the GPS chip's
// flash is written, and the handler that writes one line to the log when the program is
// stopped (a signal, the end of the session) in the middle of a device step. Support staff
// then know how far the update got and what a second run will do.
enum class DeviceWork : int {
  None,
  Checking,  // step 6: the file, the Yardmark, its battery and versions; the chip untouched
  Preparing, // step 6: passthrough and the boot loader's start; the flash untouched
  Writing,   // step 6: the boot loader erases and programs the flash
  Finishing, // step 6: the firmware is loaded; the Yardmark leaves passthrough
  Verifying, // step 10: the GPS chip is reset and its new version read
};

// Keeps the computer from sleeping and holds a shutdown back, with a reason a person sees.
// The platform's own (a logind inhibitor lock, the Windows execution state and shutdown
// reason) is handed in by the program; tests hand in a recording one.
class PowerHold {
public:
  // What the person who tries to sleep or shut the computer down is told.
  static constexpr const char* kReason = "Updating the Yardmark's GPS firmware";

  virtual ~PowerHold() = default;
  // True when the hold is taken; otherwise false with `why` saying what the system lacks.
  virtual bool take(std::string& why) = 0;
  virtual void release() = 0;
};

// The one record of the device work of this process. The pages write it on the user
// interface thread; a signal or session handler may read it on another.
class DeviceWorkRecord {
public:
  // The platform's hold, or none (tests, and where the platform offers nothing).
  void setPowerHold(PowerHold* hold) { hold_ = hold; }

  void enter(DeviceWork work) { work_.store(work); }
  DeviceWork current() const { return work_.load(); }

  // The hold around the writing of the flash: taken by hold() and let go by letGo(), which a
  // page calls the moment the writing ends, however it ends. Where no hold can be taken the
  // update goes on, and Descriptive Logging says why.
  void hold();
  void letGo();
  bool holding() const { return held_.load(); }

  // The Error line for the program stopped now by `cause` ("SIGTERM", "the end of the
  // Windows session"): the step, what it was doing, and what a second run will do. Empty
  // when no device step is under way.
  std::string interruptionLine(std::string_view cause) const;
  // Writes that line to the log, if there is one to write.
  void logInterruption(std::string_view cause) const;

private:
  std::atomic<DeviceWork> work_{DeviceWork::None};
  std::atomic<bool> held_{false};
  PowerHold* hold_ = nullptr;
};

DeviceWorkRecord& deviceWork();

// Marks a device page's work for its lifetime: `work` from the start, None at the end.
class DeviceWorkScope {
public:
  explicit DeviceWorkScope(DeviceWork work) { deviceWork().enter(work); }
  ~DeviceWorkScope() {
    deviceWork().letGo();
    deviceWork().enter(DeviceWork::None);
  }
  DeviceWorkScope(const DeviceWorkScope&) = delete;
  DeviceWorkScope& operator=(const DeviceWorkScope&) = delete;
};

} // namespace quillon
