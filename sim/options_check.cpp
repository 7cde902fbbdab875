#include "sim/options_check.h"

#include "sim/faults.h"
#include "sim/flash_model.h"
#include "sim/srecord_file.h"

namespace quillon::sim {

namespace {

constexpr double kMinTimeScale = 0.001;
constexpr double kMaxTimeScale = 1000.0;
constexpr std::chrono::milliseconds kMaxPace{60000};

std::string CheckLength(const char* what, const std::string& text, std::size_t size) {
  if (text.size() == size)
    return "";
  return std::string(what) + " must be " + std::to_string(size) + " characters, not \"" + text +
         "\"";
}

std::string CheckVersion(const char* what, const std::string& text) {
  if (text.empty() || text.size() > 21)
    return std::string(what) + " must be 1 to 21 characters, not \"" + text + "\"";
  return "";
}

std::string ArgumentText(FaultArgument argument) {
  switch (argument) {
  case FaultArgument::None:
    return "";
  case FaultArgument::Command:
    return "=CMD";
  case FaultArgument::Number:
    return "=N";
  case FaultArgument::Step:
    return "=STEP";
  case FaultArgument::StateSeconds:
    return "=STATE:SECONDS";
  case FaultArgument::Answer:
    return "=ANSWER";
  }
  return "";
}

} // namespace

std::string CheckOptions(const YardmarkOptions& options) {
  for (const auto& problem :
       {CheckLength("battery", options.battery, 3), CheckLength("identity", options.identity, 16),
        CheckLength("app version", options.appVersion, 5),
        CheckVersion("GPS version", options.gpsVersion),
        CheckVersion("new GPS version", options.newGpsVersion)}) {
    if (!problem.empty())
      return problem;
  }
  if (!(options.timeScale >= kMinTimeScale && options.timeScale <= kMaxTimeScale))
    return "time scale must lie between 0.001 and 1000";
  if (options.erasePace.count() < 0 || options.erasePace > kMaxPace)
    return "erase pace must lie between 0 and 60000 ms";
  if (options.programDelay.count() < 0 || options.programDelay > kMaxPace)
    return "programming delay must lie between 0 and 60000 ms";
  std::string error;
  FaultSet::Parse(options.faults, error);
  if (!error.empty())
    return error;
  if (!options.firmwarePath.empty()) {
    FlashModel image;
    if (!ReadSRecordFile(options.firmwarePath, image, error))
      return "firmware file " + error;
  }
  return "";
}

std::string DescribeFaults() {
  std::string text;
  for (const auto& row : FaultTable()) {
    std::string name = std::string(row.name) + ArgumentText(row.argument);
    name.resize(std::max<std::size_t>(name.size() + 2, 30), ' '); // two blanks at least
    text += "  " + name + std::string(row.help) + "\n";
  }
  text += "  Records are counted from 1 in each transfer (after each erase).\n"
          "  CMD is one of KV7-1 KV7-G KV7-i KV7-g KV7-9; STEP is CMD, hello, allof, update,\n"
          "  erase, record:N or end; STATE is one of hello hand erase erasing record prog end;\n"
          "  ANSWER is one of hand erase erasing record prog cold end.\n";
  return text;
}

} // namespace quillon::sim
