#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::sim {

// What a fault's argument names.
enum class FaultArgument {
  None,         // "silent"
  Command,      // "no-echo=KV7-1": one of the five command texts
  Number,       // "fail=3": a record or frame number, counted from 1
  Step,         // "unplug=erase": a command text or a protocol step (see FaultHelp)
  StateSeconds, // "silent-at=record:5": a boot-loader state and a number of seconds
};

struct FaultRow {
  std::string_view name;
  FaultArgument argument;
  std::string_view help;
};

// Every fault the virtual Yardmark can play. New faults are new rows here and a check at the
// place in the device where they bite.
const std::vector<FaultRow>& FaultTable();

// Protocol steps an "unplug=" fault may name besides the command texts.
const std::vector<std::string_view>& FaultSteps();
// Boot-loader states a "silent-at=" fault may name.
const std::vector<std::string_view>& SilentStates();

// The faults asked for, parsed. Faults about the device's commands hold for as long as the
// device runs; faults about a numbered frame or record bite once, so that a host that
// recovers from them can finish.
class FaultSet {
public:
  FaultSet() = default;
  // Empty error when every entry is a known fault with a fitting argument.
  static FaultSet Parse(const std::vector<std::string>& entries, std::string& error);

  bool has(std::string_view name) const;
  bool has(std::string_view name, std::string_view argument) const;
  // True the first time only.
  bool takeOnce(std::string_view name, std::string_view argument);
  bool takeOnce(std::string_view name, int number);
  // Seconds of silence asked for at `state`, the first time the state is reached.
  std::optional<double> takeSilence(std::string_view state);

private:
  struct Fault {
    std::string name;
    std::string argument;
    bool taken = false;
  };
  std::vector<Fault> faults_;
};

} // namespace quillon::sim
