#include "sim/faults.h"

#include <algorithm>
#include <charconv>

namespace quillon::sim {

namespace {

constexpr std::string_view kCommandTexts[] = {"KV7-1", "KV7-G", "KV7-i", "KV7-g", "KV7-9"};

std::optional<int> ParsePositive(std::string_view text) {
  int value = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value <= 0)
    return std::nullopt;
  return value;
}

std::optional<double> ParseSeconds(std::string_view text) {
  if (text.empty())
    return std::nullopt;
  std::string copy(text);
  std::size_t used = 0;
  double value = 0.0;
  try {
    value = std::stod(copy, &used);
  } catch (...) {
    return std::nullopt;
  }
  if (used != copy.size() || !(value >= 0.0) || value > 3600.0)
    return std::nullopt;
  return value;
}

bool IsCommand(std::string_view text) {
  return std::find(std::begin(kCommandTexts), std::end(kCommandTexts), text) !=
         std::end(kCommandTexts);
}

template <typename List> bool Contains(const List& list, std::string_view item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// Checks one argument and writes it in the one spelling the device compares against
// ("fail=03" becomes "3"). Empty result: refused.
std::optional<std::string> NormalizeArgument(FaultArgument kind, std::string_view argument) {
  switch (kind) {
  case FaultArgument::None:
    return argument.empty() ? std::optional<std::string>("") : std::nullopt;
  case FaultArgument::Command:
    return IsCommand(argument) ? std::optional<std::string>(argument) : std::nullopt;
  case FaultArgument::Number:
    if (auto number = ParsePositive(argument))
      return std::to_string(*number);
    return std::nullopt;
  case FaultArgument::Step: {
    if (IsCommand(argument) || Contains(FaultSteps(), argument))
      return std::string(argument);
    constexpr std::string_view kRecord = "record:";
    if (argument.substr(0, kRecord.size()) == kRecord)
      if (auto number = ParsePositive(argument.substr(kRecord.size())))
        return std::string(kRecord) + std::to_string(*number);
    return std::nullopt;
  }
  case FaultArgument::StateSeconds: {
    const auto colon = argument.find(':');
    if (colon == std::string_view::npos || !Contains(SilentStates(), argument.substr(0, colon)))
      return std::nullopt;
    if (!ParseSeconds(argument.substr(colon + 1)))
      return std::nullopt;
    return std::string(argument);
  }
  case FaultArgument::Answer:
    if (Contains(LostAnswers(), argument))
      return std::string(argument);
    return std::nullopt;
  }
  return std::nullopt;
}

} // namespace

const std::vector<FaultRow>& FaultTable() {
  static const std::vector<FaultRow> table = {
      {"silent", FaultArgument::None, "the device never answers"},
      {"wrong-hello", FaultArgument::None, "the hello is answered with \"SA-78\""},
      {"no-echo", FaultArgument::Command, "the command CMD gets no echo and no reply"},
      {"bad-echo", FaultArgument::Command, "the echo of CMD ends in a wrong character"},
      {"short-record", FaultArgument::None, "the device record has 38 bytes, not 39"},
      {"gps-not-P", FaultArgument::None, "the GPS version reply begins \"$G\""},
      {"gps-unreadable-until-reset", FaultArgument::None,
       "\"KV7-G\" is echoed, but no version follows until \"KV7-i\""},
      {"gps-unreadable-until-power-cycle", FaultArgument::None,
       "\"KV7-G\" is echoed, but no version follows, even after \"KV7-i\", until the device "
       "is switched off and on"},
      {"reset-refused", FaultArgument::None, "\"KV7-i\" gets no echo"},
      {"passthrough-refused", FaultArgument::None, "\"KV7-g\" gets no echo; no passthrough"},
      {"reset-chatter", FaultArgument::None,
       "the GPS chip talks NMEA for a few seconds after \"KV7-i\""},
      {"unplug", FaultArgument::Step, "the cable is pulled when STEP first arrives"},
      {"resend", FaultArgument::Number, "record frame N is answered with a resend request"},
      {"fail", FaultArgument::Number, "programming record frame N fails"},
      {"reset", FaultArgument::Number, "the boot loader resets on record frame N"},
      {"power-cut", FaultArgument::Number,
       "the device loses power when record frame N arrives, until switched on again"},
      {"debug1", FaultArgument::Number, "one debug word is reported while programming record N"},
      {"debug2", FaultArgument::Number,
       "two debug words report 1980 bytes before record N; N is not kept"},
      {"bad-type", FaultArgument::None, "the handshake is answered with bad type"},
      {"bad-cmd", FaultArgument::None, "the erase frame is answered with bad command, once"},
      {"refuse-erase", FaultArgument::None, "every erase frame is answered with bad command"},
      {"silent-at", FaultArgument::StateSeconds,
       "the boot loader stalls for SECONDS when it first reaches STATE"},
      {"corrupt", FaultArgument::Number,
       "frame N arrives with a corrupted byte (the erase frame is frame 1)"},
      {"restart", FaultArgument::Number,
       "the boot loader starts over, without a word, on frame N (the erase frame is frame 1)"},
      {"lose-answer", FaultArgument::Answer,
       "the boot loader's first ANSWER never reaches the host (a byte lost on the line)"},
  };
  return table;
}

const std::vector<std::string_view>& FaultSteps() {
  static const std::vector<std::string_view> steps = {"hello", "allof", "update", "erase", "end"};
  return steps;
}

const std::vector<std::string_view>& SilentStates() {
  static const std::vector<std::string_view> states = {"hello",  "hand", "erase", "erasing",
                                                       "record", "prog", "end"};
  return states;
}

const std::vector<std::string_view>& LostAnswers() {
  static const std::vector<std::string_view> answers = {"hand", "erase", "erasing", "record",
                                                        "prog", "cold",  "end"};
  return answers;
}

FaultSet FaultSet::Parse(const std::vector<std::string>& entries, std::string& error) {
  FaultSet set;
  error.clear();
  for (const auto& entry : entries) {
    const auto equals = entry.find('=');
    const std::string name = entry.substr(0, equals);
    const std::string argument = equals == std::string::npos ? "" : entry.substr(equals + 1);
    const auto& table = FaultTable();
    const auto row =
        std::find_if(table.begin(), table.end(), [&](const FaultRow& r) { return r.name == name; });
    if (row == table.end()) {
      error = "unknown fault \"" + entry + "\"";
      return {};
    }
    const auto normalized = NormalizeArgument(row->argument, argument);
    if (!normalized) {
      error = "fault \"" + entry + "\" has a missing or unusable argument";
      return {};
    }
    set.faults_.push_back({entry, name, *normalized});
  }
  return set;
}

bool FaultSet::asked(std::string_view name) const {
  return std::any_of(faults_.begin(), faults_.end(),
                     [&](const Fault& f) { return f.name == name; });
}

bool FaultSet::strikes(std::string_view name, std::string_view argument) {
  bool found = false;
  for (auto& fault : faults_) {
    if (fault.name == name && fault.argument == argument) {
      strike(fault);
      found = true;
    }
  }
  return found;
}

bool FaultSet::takeOnce(std::string_view name, std::string_view argument) {
  for (auto& fault : faults_) {
    if (fault.name == name && fault.argument == argument && !fault.taken) {
      fault.taken = true;
      strike(fault);
      return true;
    }
  }
  return false;
}

bool FaultSet::takeOnce(std::string_view name, int number) {
  return takeOnce(name, std::to_string(number));
}

std::optional<double> FaultSet::takeSilence(std::string_view state) {
  for (auto& fault : faults_) {
    if (fault.name != "silent-at" || fault.taken)
      continue;
    const auto colon = fault.argument.find(':');
    if (std::string_view(fault.argument).substr(0, colon) != state)
      continue;
    fault.taken = true;
    strike(fault);
    return ParseSeconds(std::string_view(fault.argument).substr(colon + 1));
  }
  return std::nullopt;
}

void FaultSet::onStrike(std::function<void(const std::string& entry)> listener) {
  listener_ = std::move(listener);
}

std::vector<std::string> FaultSet::struck() const {
  std::vector<std::string> entries;
  for (const auto& fault : faults_)
    if (fault.struck)
      entries.push_back(fault.entry);
  return entries;
}

void FaultSet::strike(Fault& fault) {
  if (fault.struck)
    return;
  fault.struck = true;
  if (listener_)
    listener_(fault.entry);
}

} // namespace quillon::sim
