#pragma once

#include <functional>
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
  Answer,       // "lose-answer=prog": one of the boot loader's answers (see LostAnswers)
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
// The boot loader's answers a "lose-answer=" fault may name, each after what it answers: the
// handshake, the erase command, the end of the erase, a record frame, its programming, the
// restart after a reset, the end frame.
const std::vector<std::string_view>& LostAnswers();

// The faults asked for, parsed, and which of them struck. Faults about the device's commands
// hold for as long as the device runs; faults about a numbered frame or record bite once, so
// that a host that recovers from them can finish, and so does a pulled cable, so that a golfer
// who plugs it back in can run the update again. Every check at a place where a fault bites
// records the strike, so a run can prove that the faults it asked for were played.
class FaultSet {
public:
  FaultSet() = default;
  // Empty error when every entry is a known fault with a fitting argument.
  static FaultSet Parse(const std::vector<std::string>& entries, std::string& error);

  // True when the fault was asked for; records nothing (for preparing a later strike).
  bool asked(std::string_view name) const;
  // True when the fault was asked for, and records that it struck here. A fault without an
  // argument matches an empty `argument`.
  bool strikes(std::string_view name, std::string_view argument = {});
  // Strikes the first time only.
  bool takeOnce(std::string_view name, std::string_view argument);
  bool takeOnce(std::string_view name, int number);
  // Seconds of silence asked for at `state`, the first time the state is reached.
  std::optional<double> takeSilence(std::string_view state);

  // Called the first time each entry strikes, with the entry as it was asked for.
  void onStrike(std::function<void(const std::string& entry)> listener);
  // The entries that struck at least once, as they were asked for, in the order asked.
  std::vector<std::string> struck() const;

private:
  struct Fault {
    std::string entry; // as asked for: "fail=03"
    std::string name;
    std::string argument; // in the one spelling the device compares against: "3"
    bool taken = false;
    bool struck = false;
  };
  void strike(Fault& fault);

  std::vector<Fault> faults_;
  std::function<void(const std::string&)> listener_;
};

} // namespace quillon::sim
